#include "runner/exec/toolInvocation.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>

#include "files/ioError.h"
#include "files/textFile.h"
#include "language/language.h"
#include "messages/messageSink.h"
#include "platform/platform.h"
#include "runner/exec/spaceReservations.h"
#include "runner/plan/commandLines.h"

ToolInvocation::ToolInvocation(platform::Platform& platform, MessageSink& messages,
                               ErrorReport reportTaskError, SpaceReservations* reservations)
    : platform_(platform),
      messages_(messages),
      reportTaskError_(std::move(reportTaskError)),
      reservations_(reservations) {}

ToolInvocation::~ToolInvocation() {
    endStage();
}

void ToolInvocation::endStage() {
    if (reservations_ != nullptr) {
        reservations_->release(this);
    }
}

std::optional<int> ToolInvocation::runCommandLine(const ToolCommand& command) {
    std::optional<int> exitStatus;
    if (command.isSafe()) {
        // What the command line says is what starts: its arguments, never split again.
        exitStatus = platform_.startTool(command.commandLine, command.arguments,
                                         platform::showNormal, workingFolder_);
        if (!exitStatus) {
            messages_.showWarning(language::commandLineExecutionFailed + command.commandLine);
        }
    } else {
        messages_.showWarning(language::commandLineExecutionFailed + command.commandLine);
    }
    if (!exitStatus) {
        reportTaskError_(command.commandLine + language::commandLineAborted);
    }
    return exitStatus;
}

bool ToolInvocation::checkFreeSpace(const std::string& inputPath,
                                    const std::string& destinationPath) {
    std::error_code error;
    std::uintmax_t length = 0;
    if (std::filesystem::is_directory(inputPath, error)) {
        // A folder's files, as an image of them needs the room.
        for (const auto& entry : std::filesystem::directory_iterator(inputPath, error)) {
            std::error_code sizeError;
            length += entry.is_regular_file(sizeError) ? entry.file_size(sizeError) : 0;
        }
    } else if (!isExistingFile(inputPath)) {
        throw ioErrorFromErrno(ENOENT);
    } else {
        length = std::filesystem::file_size(inputPath, error);
    }
    if (error) {
        throw ioErrorFromErrno(error.value());
    }
    const std::int64_t blocks = static_cast<std::int64_t>(length / 1024);
    // 1.15 times the whole blocks, in whole numbers: in floating point the product of a round size
    // falls a hair short and would let an exactly full destination pass.
    const std::int64_t needed = blocks * 1024 * 115 / 100;
    const std::int64_t available = platform_.freeBytesAvailable(destinationPath);
    workingFolder_ = platform_.toolWorkingFolder(destinationPath);
    const bool enough =
        reservations_ != nullptr
            ? reservations_->reserve(this, platform_.volumeOf(destinationPath), needed, available)
            : available > needed;
    if (enough) {
        return true;
    }
    reportTaskError_(language::notEnoughFreeSpace + destinationPath);
    return false;
}
