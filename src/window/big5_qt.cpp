#include "window/big5_qt.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace qor::window {

namespace {
constexpr const char* kCodePage = "windows-950";
}

QString toQString(std::string_view cp950) {
    QStringDecoder decode(kCodePage);
    return decode(QByteArrayView(cp950.data(), static_cast<qsizetype>(cp950.size())));
}

std::string fromQString(const QString& text) {
    QStringEncoder encode(kCodePage, QStringConverter::Flag::Default);
    QByteArray bytes = encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace qor::window
