#include "storage/settings.h"

#include <optional>
#include <string>
#include <utility>

#include "files/textFile.h"
#include "language/language.h"
#include "messages/messageSink.h"
#include "platform/platform.h"

namespace {

const char* const softwarePathSection = "software path";
const char* const variousSection = "various";
const char* const demuxingKey = "demuxing";
const char* const muxingKey = "muxing";
const char* const authoringKey = "authoring";
const char* const standardKey = "standard";
const char* const tasksAtOnceKey = "tasks at once";
const char* const requantizingKey = "requantizing";
const char* const imagingKey = "imaging";
const char* const discKey = "disc for new tasks";
// A whole number from 1 to mostTasksAtOnce; anything else keeps one task at a time.
int tasksAtOnceFrom(const std::optional<std::string>& text) {
    if (!text || text->empty() || text->size() > 2 ||
        text->find_first_not_of("0123456789") != std::string::npos) {
        return 1;
    }
    const int value = std::stoi(*text);
    return value >= 1 && value <= SettingsValues::mostTasksAtOnce ? value : 1;
}

}  // namespace

Settings::Settings(std::string settingsFilePath, std::string programFolder)
    : filePath_(std::move(settingsFilePath)), programFolder_(std::move(programFolder)) {}

void Settings::load(MessageSink& messages) {
    IniFile file = IniFile::load(filePath_);
    const bool firstLoad = !std::exchange(loadedBefore_, true);
    switch (firstLoad ? file.fault() : IniFile::Fault::None) {
        case IniFile::Fault::BinaryBytes:
            messages.showWarning(filePath_ + language::settingsBinary);
            break;
        case IniFile::Fault::NoSection:
            messages.showWarning(filePath_ + language::settingsNoSection);
            break;
        case IniFile::Fault::None:
            break;
    }
    apply(std::move(file), messages);
}

void Settings::loadDefaults(MessageSink& messages) {
    apply(IniFile(), messages);
}

void Settings::apply(IniFile file, MessageSink& messages) {
    const auto valueOr = [&file](const char* section, const char* key,
                                 const std::string& fallback) {
        return file.value(section, key).value_or(fallback);
    };
    SettingsValues loaded;
    loaded.demuxExePath =
        valueOr(softwarePathSection, demuxingKey, programFolder_ + platform::defaultDemuxerName);
    loaded.muxExePath =
        valueOr(softwarePathSection, muxingKey, programFolder_ + platform::defaultMultiplexerName);
    loaded.authorExePath =
        valueOr(softwarePathSection, authoringKey, programFolder_ + platform::defaultAuthoringName);
    loaded.videoStandard = valueOr(variousSection, standardKey, "PAL");
    loaded.requantizerExePath = valueOr(softwarePathSection, requantizingKey,
                                        programFolder_ + platform::defaultRequantizerName);
    loaded.imagerExePath =
        valueOr(softwarePathSection, imagingKey, programFolder_ + platform::defaultImagerName);
    loaded.discForNewTasks = valueOr(variousSection, discKey, "");
    loaded.tasksAtOnce = tasksAtOnceFrom(file.value(variousSection, tasksAtOnceKey));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        values_ = loaded;
        fileCopy_ = std::move(file);
    }
    validateToolPaths(messages);
}

bool Settings::validateToolPaths(MessageSink& messages) const {
    const SettingsValues current = values();
    for (const std::string* path :
         {&current.demuxExePath, &current.muxExePath, &current.authorExePath}) {
        if (!isExistingFile(*path)) {
            messages.showError(*path + language::programFileMissing);
            return false;
        }
    }
    return true;
}

void Settings::save() {
    std::lock_guard<std::mutex> lock(mutex_);
    IniFile updated = fileCopy_;
    updated.setValue(softwarePathSection, demuxingKey, values_.demuxExePath);
    updated.setValue(softwarePathSection, muxingKey, values_.muxExePath);
    updated.setValue(softwarePathSection, authoringKey, values_.authorExePath);
    updated.setValue(variousSection, standardKey, values_.videoStandard);
    // A file that never asked for more than one task at a time stays as it was.
    if (values_.tasksAtOnce != 1 || updated.value(variousSection, tasksAtOnceKey)) {
        updated.setValue(variousSection, tasksAtOnceKey, std::to_string(values_.tasksAtOnce));
    }
    // The tools and the disc of the later stages are written once they differ from what a file
    // without them gives, so that a file of an earlier version stays as it was.
    const auto setWhenChosen = [&updated](const char* section, const char* key,
                                          const std::string& value, const std::string& fallback) {
        if (value != fallback || updated.value(section, key)) {
            updated.setValue(section, key, value);
        }
    };
    setWhenChosen(softwarePathSection, requantizingKey, values_.requantizerExePath,
                  programFolder_ + platform::defaultRequantizerName);
    setWhenChosen(softwarePathSection, imagingKey, values_.imagerExePath,
                  programFolder_ + platform::defaultImagerName);
    setWhenChosen(variousSection, discKey, values_.discForNewTasks, "");
    updated.save(filePath_);
    fileCopy_ = std::move(updated);
}

SettingsValues Settings::values() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return values_;
}

void Settings::setValues(const SettingsValues& values) {
    std::lock_guard<std::mutex> lock(mutex_);
    values_ = values;
}
