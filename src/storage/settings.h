#pragma once

#include <mutex>
#include <string>

#include "storage/iniFile.h"

class MessageSink;

struct SettingsValues {
    std::string demuxExePath;
    std::string muxExePath;
    std::string authorExePath;
    std::string videoStandard;
    // How many tasks a run works on at the same time; 1, one after the other, unless the file
    // says otherwise.
    int tasksAtOnce = 1;
    // More runners than this would only wait for each other's disk.
    static constexpr int mostTasksAtOnce = 64;
    // The tools of the stages a disc adds: fitting the video to it, and the image.
    std::string requantizerExePath{};
    std::string imagerExePath{};
    // The disc new tasks are given ("DVD-5", "4000MB"); empty for none.
    std::string discForNewTasks{};
};

// The four settings and the settings file they come from. The window loads and saves them on its
// thread while a run reads them on another: every access copies the values whole under a lock, so
// a reader never sees a half-replaced value.
class Settings {
public:
    // programFolder ends with a path separator; the default tool paths lie in it.
    Settings(std::string settingsFilePath, std::string programFolder);

    // Reads the file into the in-memory copy, sets the four values from it or their defaults, then
    // validates the tool paths. The first load, a program's start, first warns when the file
    // exists and holds nothing usable (binary bytes, or no section line at all); the options
    // dialog's loads do not repeat it. Throws IoError when the file exists but cannot be read.
    void load(MessageSink& messages);
    // The four defaults, with nothing read, then the tool paths validated.
    void loadDefaults(MessageSink& messages);
    // Shows one error for the first tool file that is missing; true when all three exist.
    bool validateToolPaths(MessageSink& messages) const;
    // Writes the values into the in-memory copy and the copy to the file. Throws IoError when the
    // file cannot be written; the file then keeps its old content.
    void save();

    SettingsValues values() const;
    void setValues(const SettingsValues& values);
    // Where the settings file lies; the user's other own files lie beside it.
    const std::string& filePath() const { return filePath_; }

private:
    void apply(IniFile file, MessageSink& messages);

    const std::string filePath_;
    const std::string programFolder_;
    mutable std::mutex mutex_;
    SettingsValues values_;
    IniFile fileCopy_;
    bool loadedBefore_ = false;
};
