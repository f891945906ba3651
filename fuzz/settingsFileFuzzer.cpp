#include <cstdlib>

#include "fuzzInputFile.h"
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
    const std::string& path = writeFuzzInput(data, size);
    Settings settings(path, "/nonexistent/");
    Ignored ignored;
    settings.load(ignored);

    IniFile ini = IniFile::load(path);
    ini.setValue("software path", "demuxing", settings.values().demuxExePath);
    const std::string once = ini.serialize();
    const std::string& again =
        writeFuzzInput(reinterpret_cast<const std::uint8_t*>(once.data()), once.size());
    if (IniFile::load(again).serialize() != once) {
        std::abort();
    }
    return 0;
}
