#include "window/settings_definition_paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>

namespace qor::window {

storedb::UserValue SettingsDefinitionPaths::userValue(std::string_view name) const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Borland"),
                       QStringLiteral("DBExpress"));
    const QString key = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (!settings.contains(key)) return storedb::UserValue::absent();
    const QVariant value = settings.value(key);
    // A list or a binary value is no text: the path stays empty and every connect says so.
    if (value.typeId() != QMetaType::QString) return storedb::UserValue::notText();
    return storedb::UserValue::of(QFile::encodeName(value.toString()).toStdString());
}

std::string SettingsDefinitionPaths::executableDir() const {
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

}  // namespace qor::window
