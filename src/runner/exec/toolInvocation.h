#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {
class Platform;
}
class MessageSink;
class SpaceReservations;
struct ToolCommand;

// Runs the tools of a stage and checks the room on the destination before it. Failures the user
// must know of are reported through reportTaskError, which the runner turns into its task-error
// event.
class ToolInvocation {
public:
    using ErrorReport = std::function<void(const std::string&)>;

    // reservations: shared with the runners of the other tasks running at the same time, if any.
    ToolInvocation(platform::Platform& platform, MessageSink& messages, ErrorReport reportTaskError,
                   SpaceReservations* reservations = nullptr);
    ~ToolInvocation();
    ToolInvocation(const ToolInvocation&) = delete;
    ToolInvocation& operator=(const ToolInvocation&) = delete;

    // Starts the tool, waits for its end and gives its exit status. When it cannot be started (or
    // its command line would not give the tool the arguments meant for it), shows the warning box,
    // reports the aborted command line and gives nothing.
    std::optional<int> runCommandLine(const ToolCommand& command);

    // True when the destination has room for 1.15 times the input's whole kibibytes (a folder's:
    // those of its files), besides
    // what the stages of other tasks running at the same time have set aside there; the stage
    // then sets that much aside until endStage. The stage's tools then work in the folder the
    // platform gives for the destination. Throws IoError when the input's length cannot be read
    // or the destination cannot be measured.
    bool checkFreeSpace(const std::string& inputPath, const std::string& destinationPath);
    void endStage();

private:
    platform::Platform& platform_;
    MessageSink& messages_;
    ErrorReport reportTaskError_;
    SpaceReservations* reservations_;
    std::string workingFolder_;
};
