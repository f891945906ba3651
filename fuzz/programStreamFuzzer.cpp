#include <cstdint>
#include <cstdlib>

#include "demux/streamExtraction.h"
#include "memoryFile.h"
#include "mpeg/streamSurvey.h"

// The demultiplexer and the survey on any bytes as a VOB: each stream kind extracted, the
// streams listed. Every failure must be a clean error, never a crash or a read out of bounds.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile source;
    static MemoryFile output;
    const std::string& path = source.holding(data, size);
    for (const int stream : {0xe0, 0x80, 0x88, 0xa0, 0xc0}) {
        try {
            demux::extractStream(path, stream, output.holding(nullptr, 0));
        } catch (const demux::DemuxError&) {
        }
    }
    try {
        mpeg::surveyProgramStream(path);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
