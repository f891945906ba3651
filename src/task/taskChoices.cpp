#include "task/taskChoices.h"

#include <sstream>
#include <vector>

#include "task/task.h"

namespace taskChoices {

namespace {

const char* const everyAudioTrack = "audio=all";
const char* const everySubtitleStream = "subtitles=all";

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

void setWord(Ttask& task, const char* choice, bool keep) {
    if (holdsWord(task, choice) == keep) {
        return;
    }
    std::string text;
    for (const std::string& word : wordsOf(task.extraChoices)) {
        if (word != choice) {
            text += (text.empty() ? "" : " ") + word;
        }
    }
    if (keep) {
        text += (text.empty() ? "" : " ") + std::string(choice);
    }
    task.extraChoices = text;
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

std::string subtitleStreamPath(const std::string& ac3FilePath, int streamId) {
    return stemOf(ac3FilePath) + ".s" + std::to_string(streamId - 0x20 + 1) + ".spu";
}

std::string audioTrackPath(const std::string& ac3FilePath, int trackNumber,
                           const std::string& extension) {
    return stemOf(ac3FilePath) + "." + std::to_string(trackNumber) + "." + extension;
}

}  // namespace taskChoices
