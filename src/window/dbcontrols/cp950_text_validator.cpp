#include "window/dbcontrols/cp950_text_validator.h"

#include "window/big5_qt.h"

namespace qor::window {

QValidator::State Cp950TextValidator::validate(QString& input, int& /*pos*/) const {
    const std::string bytes = fromQString(input);
    if (toQString(bytes) != input) return Invalid;
    if (maxBytes_ > 0 && bytes.size() > std::size_t(maxBytes_)) return Invalid;
    return Acceptable;
}

}  // namespace qor::window
