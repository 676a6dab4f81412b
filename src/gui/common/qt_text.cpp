#include "gui/common/qt_text.h"

#include "platform/windows1252.h"

namespace arkivo {

QString FromCoreText(std::string_view bytes) {
    return QString::fromStdString(Windows1252ToUtf8(bytes));
}

std::string ToCoreText(const QString& text) {
    return Utf8ToWindows1252(text.toStdString());
}

QString MessageBoxText(std::string_view bytes) {
    return FromCoreText(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace arkivo
