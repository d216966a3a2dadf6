#pragma once
// The values a store's request carries: the account in the query string and in the form,
// and the statement in the form field "sql". Values are bytes, taken as sent.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gateway_request.h"
#include "multipart_form.h"

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

// The form of the body: multipart/form-data (the stores' way) or
// application/x-www-form-urlencoded (values percent-decoded); no fields for any other
// content type. nullopt for a multipart body that is not well formed: the gateway answers
// it with 400 Bad Request.
std::optional<std::vector<FormPart>> readForm(const GatewayRequest& request);

// The first field named `name`; nullopt when the form has none.
std::optional<std::string> formField(const std::vector<FormPart>& form, std::string_view name);

}  // namespace qor::headoffice
