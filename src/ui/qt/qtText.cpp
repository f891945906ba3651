#include "ui/qt/qtText.h"

#include <QDir>

QString toQString(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toEightBit(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

std::string toEightBitPath(const QString& path) {
    return toEightBit(QDir::toNativeSeparators(path));
}

QString withQtLineEnds(const std::string& text) {
    QString converted = toQString(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted;
}

QString uiText(const char* languageText) {
    return QString::fromUtf8(languageText);
}
