#pragma once

#include <functional>
#include <optional>
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

    // Starts the tool, waits for its end and gives its exit status. When it cannot be started (or
    // its command line would not give the tool the arguments meant for it), shows the warning box,
    // reports the aborted command line and gives nothing.
    std::optional<int> runCommandLine(const ToolCommand& command);
    std::optional<int> startAndWait(const std::string& commandLine, int showMode);

    // True when the destination has room for 1.15 times the input's whole kibibytes. Throws
    // IoError when the input's length cannot be read or the destination cannot be measured.
    bool checkFreeSpace(const std::string& inputPath, const std::string& destinationPath);

private:
    platform::Platform& platform_;
    MessageSink& messages_;
    ErrorReport reportTaskError_;
};
