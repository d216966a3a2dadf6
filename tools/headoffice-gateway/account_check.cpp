#include "account_check.h"

#include "request_fields.h"

namespace qor::headoffice {
namespace {

// The query string must carry the name once: a repeated name could say two things.
bool queryMatches(std::string_view target, const char* name, const std::string& wanted) {
    std::vector<QueryValue> values = queryValues(target, name);
    if (values.size() != 1) return false;
    return values[0].raw == wanted || values[0].decoded == wanted;
}

bool formMatches(const std::vector<FormPart>& form, const char* name, const std::string& wanted) {
    std::optional<std::string> value = formField(form, name);
    return value && *value == wanted;
}

}  // namespace

bool accountMatches(std::string_view target, const std::vector<FormPart>& form,
                    const Account& account) {
    return queryMatches(target, "user_name", account.userName) &&
           queryMatches(target, "password", account.password) &&
           formMatches(form, "user_name", account.userName) &&
           formMatches(form, "password", account.password);
}

}  // namespace qor::headoffice
