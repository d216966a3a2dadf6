#include "window/password_char_style.h"

namespace qor::window {

int PasswordCharStyle::styleHint(StyleHint hint, const QStyleOption* option,
                                 const QWidget* widget, QStyleHintReturn* returnData) const {
    if (hint == SH_LineEdit_PasswordCharacter) return '#';
    // Typed characters show at once as "#", not briefly as themselves.
    if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace qor::window
