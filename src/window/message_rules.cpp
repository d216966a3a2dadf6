#include "window/message_rules.h"

#include <QFileInfo>

namespace qor::window {

QString programTitle(const QString& executablePath) {
    QString name = QFileInfo(executablePath).fileName();
    qsizetype dot = name.indexOf(u'.');
    if (dot >= 0) name.truncate(dot);
    if (name.isEmpty()) return name;
    return name.left(1) + name.mid(1).toLower();
}

std::string errorBoxText(std::string_view text) {
    std::string out(text);
    // Bytes compare unsigned: a double-byte character always sorts after ".".
    if (!out.empty() && static_cast<unsigned char>(out.back()) > '.') out.push_back('.');
    return out;
}

}  // namespace qor::window
