#pragma once

#include <functional>
#include <string>

namespace platform {
class Platform;
}
class MessageSink;
struct ToolCommand;

// Runs the tools of a stage and checks the room on the destination before it. Failures the user
// must know of are reported through reportTaskError, which the runner turns into its task-error
// event.
class ToolInvocation {
public:
    using ErrorReport = std::function<void(const std::string&)>;

    ToolInvocation(platform::Platform& platform, MessageSink& messages,
                   ErrorReport reportTaskError);

    // Starts the tool and waits for its end. When it cannot be started (or its command line would
    // not give the tool the arguments meant for it), shows the warning box, reports the aborted
    // command line and returns false.
    bool runCommandLine(const ToolCommand& command);
    bool startAndWait(const std::string& commandLine, int showMode);

    // True when the destination has room for 1.15 times the input's whole kibibytes. Throws
    // IoError when the input's length cannot be read or the destination cannot be measured.
    bool checkFreeSpace(const std::string& inputPath, const std::string& destinationPath);

private:
    platform::Platform& platform_;
    MessageSink& messages_;
    ErrorReport reportTaskError_;
};
