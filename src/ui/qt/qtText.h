#pragma once

#include <QString>
#include <string>

// The program keeps its texts and paths as 8-bit strings in the system's code page; Qt holds
// Unicode. These convert at the border.
QString toQString(const std::string& text);
std::string toEightBit(const QString& text);

// A path Qt hands over (a chooser's pick, a dropped file), written with the system's own
// separators: Qt uses slashes everywhere, where Windows users and tools expect backslashes.
std::string toEightBitPath(const QString& path);

// One of the program's own texts (language.h), written in UTF-8.
QString uiText(const char* languageText);

// Qt lays out lines ended by LF; the program's texts end them with CR LF.
QString withQtLineEnds(const std::string& text);
