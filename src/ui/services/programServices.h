#pragma once

#include <QString>
#include <functional>
#include <string>

#include "regional/regionalFormats.h"

class Prompts;
class Settings;
namespace platform {
class Platform;
}

// What the windows share for the whole life of the program.
struct ProgramServices {
    Prompts& prompts;
    Settings& settings;
    platform::Platform& platform;
    RegionalFormats regionalFormats;
    // Full path of the running program; the licence lies beside it.
    std::string programPath;
    std::string runLogPath;
    // The end of a run counts this long down before it switches the computer off.
    int powerOffCountdownSeconds = 60;
    // Tells the desktop that a run has ended, with a title and a text; none shows nothing.
    std::function<void(const QString& title, const QString& text)> notifyDesktop = {};
};
