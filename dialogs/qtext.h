// The window's edge for text: record bytes (cp1252) to QString and back, byte-exact both ways.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vh::ui {

QString FromCp1252(std::string_view bytes);
// Text the program made itself (messages, reports, paths), which is UTF-8.
QString FromUtf8(std::string_view text);
// Throws db::EConvertError naming the first character the game's code page cannot hold.
std::string ToCp1252(const QString& text);
// nullopt-free variant for filtering: false when the text cannot be held.
bool TryToCp1252(const QString& text, std::string& out);

}  // namespace vh::ui
