#include "task/taskChoices.h"

#include <sstream>
#include <vector>

#include "task/task.h"

namespace taskChoices {

namespace {

const char* const everyAudioTrack = "audio=all";
const char* const everySubtitleStream = "subtitles=all";
const char* const image = "iso";
const std::string discPrefix = "disc=";

std::vector<std::string> wordsOf(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

bool holdsWord(const Ttask& task, const char* choice) {
    for (const std::string& word : wordsOf(task.extraChoices)) {
        if (word == choice) {
            return true;
        }
    }
    return false;
}

bool startsWith(const std::string& word, const std::string& prefix) {
    return word.compare(0, prefix.size(), prefix) == 0;
}

// The choices without the words that `drops` picks, with `added` at the end when not empty.
template <typename Drop>
void rewriteWords(Ttask& task, Drop drops, const std::string& added) {
    std::string text;
    for (const std::string& word : wordsOf(task.extraChoices)) {
        if (!drops(word)) {
            text += (text.empty() ? "" : " ") + word;
        }
    }
    if (!added.empty()) {
        text += (text.empty() ? "" : " ") + added;
    }
    task.extraChoices = text;
}

void setWord(Ttask& task, const char* choice, bool keep) {
    if (holdsWord(task, choice) == keep) {
        return;
    }
    rewriteWords(
        task, [choice](const std::string& word) { return word == choice; }, keep ? choice : "");
}

// "4000MB": whole megabytes, at least one.
std::optional<std::uint64_t> megabytesOf(const std::string& name) {
    const std::size_t unit = name.size() >= 2 ? name.size() - 2 : 0;
    if (unit == 0 || unit > 7 || name.compare(unit, 2, "MB") != 0 ||
        name.find_first_not_of("0123456789") != unit) {
        return std::nullopt;
    }
    const std::uint64_t megabytes = std::stoull(name.substr(0, unit));
    return megabytes > 0 ? std::optional<std::uint64_t>(megabytes * 1000000) : std::nullopt;
}

std::string stemOf(const std::string& path) {
    const std::size_t nameStart = path.find_last_of("/\\") + 1;
    const std::size_t dot = path.rfind('.');
    return dot != std::string::npos && dot > nameStart ? path.substr(0, dot) : path;
}

}  // namespace

bool keepsEveryAudioTrack(const Ttask& task) {
    return holdsWord(task, everyAudioTrack);
}

void setKeepEveryAudioTrack(Ttask& task, bool keep) {
    setWord(task, everyAudioTrack, keep);
}

bool keepsEverySubtitleStream(const Ttask& task) {
    return holdsWord(task, everySubtitleStream);
}

void setKeepEverySubtitleStream(Ttask& task, bool keep) {
    setWord(task, everySubtitleStream, keep);
}

std::optional<Disc> discNamed(const std::string& name) {
    // DVD+R, DVD+R DL and DVD-R 8 cm: each smaller than the other recordable format of its kind.
    static const Disc known[] = {{"DVD-5", 4700372992}, {"DVD-9", 8543666176}, {"8cm", 1459978240}};
    for (const Disc& disc : known) {
        if (name == disc.name) {
            return disc;
        }
    }
    if (const std::optional<std::uint64_t> bytes = megabytesOf(name)) {
        return Disc{name, *bytes};
    }
    return std::nullopt;
}

std::string discName(const Ttask& task) {
    for (const std::string& word : wordsOf(task.extraChoices)) {
        if (startsWith(word, discPrefix)) {
            return word.substr(discPrefix.size());
        }
    }
    return "";
}

void setDiscName(Ttask& task, const std::string& name) {
    rewriteWords(
        task, [](const std::string& word) { return startsWith(word, discPrefix); },
        name.empty() ? "" : discPrefix + name);
}

bool makesImage(const Ttask& task) {
    return holdsWord(task, image);
}

void setMakesImage(Ttask& task, bool make) {
    setWord(task, image, make);
}

std::string fittedVideoPath(const Ttask& task) {
    const std::string stem = stemOf(task.m2vFilePath);
    return stem + ".fitted" + task.m2vFilePath.substr(stem.size());
}

std::string imagePath(const Ttask& task) {
    return task.dvdFolderPath + ".iso";
}

std::string subtitleStreamPath(const std::string& ac3FilePath, int streamId) {
    return stemOf(ac3FilePath) + ".s" + std::to_string(streamId - 0x20 + 1) + ".spu";
}

std::string audioTrackPath(const std::string& ac3FilePath, int trackNumber,
                           const std::string& extension) {
    return stemOf(ac3FilePath) + "." + std::to_string(trackNumber) + "." + extension;
}

}  // namespace taskChoices
