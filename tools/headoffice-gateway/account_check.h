#pragma once
// The gateway account: a store's request carries it twice, in the query string and in the
// form, and both must name the gateway's own account.
#include <string>

namespace httplib {
struct Request;
}

namespace qor::headoffice {

struct Account {
    std::string userName;
    std::string password;
};

// True when the query string's "user_name" and "password" and the form fields "user_name"
// and "password" all equal the account's. Values compare byte for byte; a query value may
// match as sent or percent-decoded.
bool accountMatches(const httplib::Request& request, const Account& account);

}  // namespace qor::headoffice
