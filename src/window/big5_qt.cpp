#include "window/big5_qt.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace qor::window {

namespace {
constexpr const char* kCodePage = "windows-950";
}

QString toQString(std::string_view cp950) {
    // Codes and numbers are plain ASCII, the same bytes in code page 950: no decoder needed.
    bool ascii = true;
    for (unsigned char c : cp950) ascii = ascii && c < 0x80;
    const auto size = static_cast<qsizetype>(cp950.size());
    if (ascii) return QString::fromLatin1(cp950.data(), size);
    // Opening a decoder costs more than most texts it decodes: one serves the thread.
    thread_local QStringDecoder decode(kCodePage);
    decode.resetState();
    return decode(QByteArrayView(cp950.data(), size));
}

std::string fromQString(const QString& text) {
    QStringEncoder encode(kCodePage, QStringConverter::Flag::Default);
    QByteArray bytes = encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace qor::window
