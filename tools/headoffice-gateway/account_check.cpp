#include "account_check.h"

#include <httplib.h>

#include "request_fields.h"

namespace qor::headoffice {
namespace {

// The query string must carry the name once: a repeated name could say two things.
bool queryMatches(const httplib::Request& request, const char* name, const std::string& wanted) {
    std::vector<QueryValue> values = queryValues(request.target, name);
    if (values.size() != 1) return false;
    return values[0].raw == wanted || values[0].decoded == wanted;
}

bool formMatches(const httplib::Request& request, const char* name, const std::string& wanted) {
    std::optional<std::string> value = formField(request, name);
    return value && *value == wanted;
}

}  // namespace

bool accountMatches(const httplib::Request& request, const Account& account) {
    return queryMatches(request, "user_name", account.userName) &&
           queryMatches(request, "password", account.password) &&
           formMatches(request, "user_name", account.userName) &&
           formMatches(request, "password", account.password);
}

}  // namespace qor::headoffice
