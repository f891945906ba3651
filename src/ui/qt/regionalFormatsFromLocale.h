#pragma once

#include <QLocale>

#include "regional/regionalFormats.h"

// The regional formats of a Qt locale, normally QLocale::system().
RegionalFormats regionalFormatsFromLocale(const QLocale& locale);
