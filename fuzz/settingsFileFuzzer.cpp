#include <cstdint>
#include <cstdlib>

#include "memoryFile.h"
#include "messages/messageSink.h"
#include "storage/iniFile.h"
#include "storage/settings.h"

namespace {

class Ignored : public MessageSink {
public:
    void showError(const std::string&) override {}
    void showWarning(const std::string&) override {}
};

}  // namespace

// Any settings file loads; a save of what was read reads back to the same file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile input;
    static MemoryFile saved;
    const std::string& path = input.holding(data, size);
    Settings settings(path, "/nonexistent/");
    Ignored ignored;
    settings.load(ignored);

    IniFile ini = IniFile::load(path);
    ini.setValue("software path", "demuxing", settings.values().demuxExePath);
    const std::string once = ini.serialize();
    if (IniFile::load(saved.holding(once)).serialize() != once) {
        std::abort();
    }
    return 0;
}
