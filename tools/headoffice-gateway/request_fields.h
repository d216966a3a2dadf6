#pragma once
// The values a store's request carries: the account in the query string and in the form,
// and the statement in the form field "sql". Values are bytes, taken as sent.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace httplib {
struct Request;
}

namespace qor::headoffice {

// One query-string value: as sent (stores send account values without percent-encoding)
// and percent-decoded (what other HTTP clients mean).
struct QueryValue {
    std::string raw;
    std::string decoded;
};

// The request target's query-string values for `name`, in order of appearance.
std::vector<QueryValue> queryValues(std::string_view target, std::string_view name);

// Percent-decoding of a query or urlencoded form value ("+" is a blank); a "%" not followed
// by two hexadecimal digits stays as it is.
std::string percentDecoded(std::string_view text);

// A form field of the body: multipart/form-data (the stores' way) or
// application/x-www-form-urlencoded. nullopt when the body has no such field.
std::optional<std::string> formField(const httplib::Request& request, std::string_view name);

}  // namespace qor::headoffice
