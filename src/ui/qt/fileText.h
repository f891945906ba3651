#pragma once

#include <QString>
#include <string>

// The whole of an 8-bit text file, as the program's text boxes show it. Throws IoError ("Impossible
// d'ouvrir le fichier %s") when it cannot be read.
QString readFileText(const std::string& path);
