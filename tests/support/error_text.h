#pragma once
// What a failing call says.
#include <string>
#include <utility>

#include "text/errors.h"

namespace qor::test {

// The text of the `E` the action raises, or "" when it raises nothing. Anything else it raises
// goes on and fails the test.
template <typename E = qor::Error, typename Action>
std::string errorOf(Action&& action) {
    try {
        std::forward<Action>(action)();
    } catch (const E& e) {
        return e.what();
    }
    return {};
}

}  // namespace qor::test
