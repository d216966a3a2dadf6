#pragma once
// The window's font, "細明體" 13 pixels high, with the families that stand in for it where it
// is not installed. Grid titles use it too.
#include <QFont>
#include <QString>

namespace qor::window {

inline QFont windowFont() {
    QFont font;
    font.setFamilies({QString::fromUtf8("細明體"), QStringLiteral("PMingLiU"),
                      QStringLiteral("AR PL UMing TW")});
    font.setPixelSize(13);
    font.setBold(false);
    font.setItalic(false);
    return font;
}

}  // namespace qor::window
