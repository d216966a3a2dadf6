#pragma once
// Text crosses between CP950 bytes and the screen only here.
#include <QString>
#include <string>
#include <string_view>

namespace qor::window {

QString toQString(std::string_view cp950);
// Characters code page 950 cannot hold become "?".
std::string fromQString(const QString& text);

}  // namespace qor::window
