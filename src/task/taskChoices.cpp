#include "task/taskChoices.h"

#include <sstream>
#include <vector>

#include "task/task.h"

namespace taskChoices {

namespace {

const char* const everyAudioTrack = "audio=all";

std::vector<std::string> wordsOf(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

}  // namespace

bool keepsEveryAudioTrack(const Ttask& task) {
    for (const std::string& word : wordsOf(task.extraChoices)) {
        if (word == everyAudioTrack) {
            return true;
        }
    }
    return false;
}

void setKeepEveryAudioTrack(Ttask& task, bool keep) {
    if (keepsEveryAudioTrack(task) == keep) {
        return;
    }
    std::string text;
    for (const std::string& word : wordsOf(task.extraChoices)) {
        if (word != everyAudioTrack) {
            text += (text.empty() ? "" : " ") + word;
        }
    }
    if (keep) {
        text += (text.empty() ? "" : " ") + std::string(everyAudioTrack);
    }
    task.extraChoices = text;
}

std::string audioTrackPath(const std::string& ac3FilePath, int trackNumber,
                           const std::string& extension) {
    const std::size_t nameStart = ac3FilePath.find_last_of("/\\") + 1;
    const std::size_t dot = ac3FilePath.rfind('.');
    const std::string stem =
        dot != std::string::npos && dot > nameStart ? ac3FilePath.substr(0, dot) : ac3FilePath;
    return stem + "." + std::to_string(trackNumber) + "." + extension;
}

}  // namespace taskChoices
