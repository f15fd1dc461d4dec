#include "qt/qt_text.h"

#include <QFile>

#include "platform/codepage.h"

namespace vantic {

QString FromText(std::string_view text) {
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (char byte : text) {
        result.append(
            QChar(static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(byte)))));
    }
    return result;
}

std::string ToText(const QString& text) {
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        result.push_back(UnicodeToCp1252(c.unicode()));
    }
    return result;
}

QString FromPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string ToPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace vantic
