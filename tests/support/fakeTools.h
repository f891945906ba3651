#pragma once

#include <string>
#include <vector>

#include "messages/messageSink.h"

// Writes an executable shell script at path with the given body (POSIX systems only).
void writeScript(const std::string& path, const std::string& body);

// A tool that writes each of its arguments on its own line into recordPath. On Windows it is
// the fake tool program at path + ".exe", which a command line naming path starts.
void writeRecordingTool(const std::string& path, const std::string& recordPath);

std::vector<std::string> readLines(const std::string& path);

// Records the messages the core shows, instead of showing boxes.
class RecordedMessages : public MessageSink {
public:
    void showError(const std::string& text) override { errors.push_back(text); }
    void showWarning(const std::string& text) override { warnings.push_back(text); }

    std::vector<std::string> errors;
    std::vector<std::string> warnings;
};
