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
// it: the output is a file in a folder of memory, where there is one.
std::string outputPath() {
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path folder =
        (std::filesystem::is_directory(memory, error) ? memory
                                                      : std::filesystem::temp_directory_path()) /
        ("marovink-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder, error);
    return (folder / "output").string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile source;
    static const std::string output = outputPath();
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
