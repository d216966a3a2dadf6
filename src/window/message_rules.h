#pragma once
// How the texts of the message boxes are made.
#include <QString>
#include <string>
#include <string_view>

namespace qor::window {

// The executable's file name up to its first ".", every character after the first in small
// letters: "/opt/QorClient" and "QORCLIENT.EXE" both give "Qorclient".
QString programTitle(const QString& executablePath);

// The error's text with a full stop added when its last byte sorts after "." (so a text
// ending in ".", "!", ")" or a blank gets none, and an empty text stays empty).
std::string errorBoxText(std::string_view text);

}  // namespace qor::window
