#pragma once
// Makes a password-mode edit show "#" for every character, whatever the platform style
// would draw.
#include <QProxyStyle>

namespace qor::window {

class PasswordCharStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};

}  // namespace qor::window
