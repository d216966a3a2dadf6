#pragma once
// The parts of a multipart/form-data body (RFC 7578), the form stores post.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qor::headoffice {

struct FormPart {
    std::string name;   // the name="..." of its Content-Disposition
    std::string value;  // its bytes, as sent
};

// The boundary named by a Content-Type value ("multipart/form-data; boundary=x" or
// boundary="x"); nullopt when it names none.
std::optional<std::string> multipartBoundary(std::string_view contentType);

// The body's parts in order. A part's value is everything between the blank line after its
// headers and the CR LF before the next delimiter. nullopt when the body is no well-formed
// multipart body for `boundary`: it lacks the first delimiter or the closing one, or a part
// lacks its blank line or a Content-Disposition of form-data with a name.
std::optional<std::vector<FormPart>> parseMultipart(std::string_view body,
                                                    std::string_view boundary);

}  // namespace qor::headoffice
