#include "demux/outputFile.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "demux/streamExtraction.h"
#include "files/partFile.h"

namespace demux {

namespace fs = std::filesystem;

namespace {

int processNumber() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// Where the output goes: a link to a file is followed, as writing through it always was.
std::string placeOf(const std::string& path, const std::string& source) {
    std::error_code error;
    const fs::file_status link = fs::symlink_status(path, error);
    fs::path place = path;
    if (fs::is_symlink(link)) {
        if (!fs::exists(path, error)) {
            throw DemuxError(path +
                             ": is a symbolic link to nothing, which an output never follows");
        }
        place = fs::canonical(path, error);
        if (error) {
            throw DemuxError(path + ": " + error.message());
        }
        // A link into no folder (a descriptor's, in /proc) has no place beside it to write to.
        if (!fs::exists(place, error)) {
            throw DemuxError(path +
                             ": is a symbolic link to no file in a folder, which an output "
                             "never follows");
        }
    }
    const fs::file_status status = fs::status(place, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        throw DemuxError(path + ": is not a file, and is left as it is");
    }
    if (fs::exists(status) && fs::equivalent(place, source, error)) {
        throw DemuxError(path + ": is the source " + source +
                         " itself, which an output never replaces");
    }
    return place.string();
}

// The temporary file beside the output's place; a file that cannot be created is reported under
// the name the command gave.
PartFile openedPart(const std::string& givenPath, const std::string& place) {
    try {
        return PartFile(place, place + ".bbdmux-" + std::to_string(processNumber()) + ".part");
    } catch (const PartFile::Failure& failure) {
        throw DemuxError(givenPath + ": " + failure.what());
    }
}

}  // namespace

OutputFile::OutputFile(const std::string& path, const std::string& source)
    : path_(placeOf(path, source)), part_(openedPart(path, path_)) {}

void OutputFile::write(const std::uint8_t* data, std::size_t size) {
    try {
        part_.write(data, size);
    } catch (const PartFile::Failure& failure) {
        throw DemuxError(path_ + ": " + failure.what());
    }
}

void OutputFile::keep() {
    try {
        part_.keep();
    } catch (const PartFile::Failure& failure) {
        throw DemuxError(path_ + ": " + failure.what());
    }
}

}  // namespace demux
