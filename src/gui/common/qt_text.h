#pragma once
// The core's texts are Windows-1252 bytes; Qt's are Unicode. Every text crossing
// between a window and the core goes through these two.

#include <QString>
#include <string>
#include <string_view>

namespace arkivo {

QString FromCoreText(std::string_view bytes);
std::string ToCoreText(const QString& text);

// A core message text for a message box: Windows-1252 bytes with "\r\n" line breaks
// become Unicode with "\n".
QString MessageBoxText(std::string_view bytes);

}  // namespace arkivo
