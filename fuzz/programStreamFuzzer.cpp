#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "demux/streamExtraction.h"
#include "memoryFile.h"
#include "mpeg/streamSurvey.h"

// The demultiplexer and the survey on any bytes as a VOB: each stream kind extracted, the
// streams listed. Every failure must be a clean error, never a crash or a read out of bounds.
namespace {

// The demultiplexer writes its output under a temporary name in the output's folder and renames
// it: the output is a file in a folder of memory, where there is one, removed at the end.
class OutputFolder {
public:
    OutputFolder() {
        std::error_code error;
        const std::filesystem::path memory = "/dev/shm";
        folder_ = (std::filesystem::is_directory(memory, error)
                       ? memory
                       : std::filesystem::temp_directory_path()) /
                  ("marovink-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_, error);
    }
    ~OutputFolder() {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    std::string output() const { return (folder_ / "output").string(); }

private:
    std::filesystem::path folder_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile source;
    static const OutputFolder folder;
    static const std::string output = folder.output();
    const std::string& path = source.holding(data, size);
    for (const int stream : {0xe0, 0x80, 0x88, 0xa0, 0xc0}) {
        try {
            demux::extractStream(path, stream, output);
        } catch (const demux::DemuxError&) {
        }
    }
    try {
        mpeg::surveyProgramStream(path);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
