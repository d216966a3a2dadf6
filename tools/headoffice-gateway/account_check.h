#pragma once
// The gateway account: a store's request carries it twice, in the query string and in the
// form, and both must name the gateway's own account.
#include <string>
#include <string_view>
#include <vector>

#include "multipart_form.h"

namespace qor::headoffice {

struct Account {
    std::string userName;
    std::string password;
};

// True when the request target's query string has "user_name" and "password" once each and
// the form fields "user_name" and "password", and all four equal the account's. Values
// compare byte for byte; a query value may match as sent or percent-decoded.
bool accountMatches(std::string_view target, const std::vector<FormPart>& form,
                    const Account& account);

}  // namespace qor::headoffice
