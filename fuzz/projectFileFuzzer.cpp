#include <cstdlib>

#include "files/ioError.h"
#include "fuzzInputFile.h"
#include "storage/projectFile.h"
#include "task/task.h"

// Any file loads or fails with a clear error; what loads saves and loads back to the same tasks.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TAllTask tasks;
    try {
        projectFile::load(writeFuzzInput(data, size), tasks);
    } catch (const IoError&) {
        return 0;
    } catch (const ConversionError&) {
        return 0;
    }
    // A block is at least its separator line, so no file yields more tasks than lines.
    if (static_cast<std::size_t>(tasks.count()) > size) {
        std::abort();
    }
    const std::string saved = projectFile::serialize(tasks);
    const std::string bytes(saved);
    TAllTask again;
    projectFile::load(
        writeFuzzInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), again);
    if (projectFile::serialize(again) != saved) {
        std::abort();
    }
    return 0;
}
