#pragma once

#include <string>

// Where the core shows a message that the user must acknowledge: an error or warning box with an
// OK button in the window, a line on stderr in the batch runner, a record in tests. The call
// returns once the user has acknowledged it. It may be called from any thread.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showError(const std::string& text) = 0;
    virtual void showWarning(const std::string& text) = 0;
};
