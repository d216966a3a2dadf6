#include "dataset/value_compare.h"

#include <type_traits>

namespace qor::ds {

namespace {

template <typename T>
int threeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int compareValues(const Value& a, const Value& b) {
    if (a.index() != b.index()) return a.index() < b.index() ? -1 : 1;  // null is index 0
    return std::visit(
        [&b](const auto& x) -> int {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return 0;
            } else if constexpr (std::is_same_v<T, std::string>) {
                const int c = x.compare(std::get<std::string>(b));  // unsigned bytes
                return c < 0 ? -1 : (c > 0 ? 1 : 0);
            } else {
                return threeWay(x, std::get<T>(b));
            }
        },
        a);
}

}  // namespace qor::ds
