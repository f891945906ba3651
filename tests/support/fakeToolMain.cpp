// A stand-in for the outside tools on Windows. What it does follows from the name it is copied
// under: every copy records its arguments, one a line, in NAME.args beside it (or in the file
// that NAME.record names), its current folder in NAME.cwd, and appends a line to calls.txt;
// "bbdmux", "mplex" and "dvdauthor" also write outputs of the sizes given in sizes.txt, the audio
// demultiplexing waiting while audio.gate exists, each demultiplexing and remultiplexing while
// OUTPUT.gate exists, "mplex" exiting with the status named there;
// "dvdauthor" copies the IFO files VTS_01_0.IFO.fake and VIDEO_TS.IFO.fake beside it into the
// DVD; "slow" takes a while before recording; "fails" exits with status 3.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path ownPath() {
    char buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return fs::path(std::string(buffer, length));
}

// "audio 7168" lines; a size of -1 writes nothing.
std::map<std::string, long long> readSizes(const fs::path& file) {
    std::map<std::string, long long> sizes;
    std::ifstream in(file);
    std::string name;
    long long bytes = 0;
    while (in >> name >> bytes) {
        sizes[name] = bytes;
    }
    return sizes;
}

void writeZeros(const std::string& path, long long bytes) {
    if (bytes < 0) {
        return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string block(4096, '\0');
    for (long long left = bytes; left > 0; left -= static_cast<long long>(block.size())) {
        out.write(block.data(), left < 4096 ? static_cast<std::streamsize>(left) : 4096);
    }
}

std::string argument(const std::vector<std::string>& arguments, std::size_t index) {
    return index < arguments.size() ? arguments[index] : std::string();
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv, argv + argc);
    const fs::path self = ownPath();
    const fs::path folder = self.parent_path();
    const std::string name = self.stem().string();

    if (name == "slow") {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    {
        std::string recordPath = (folder / (name + ".args")).string();
        std::ifstream recordTarget(folder / (name + ".record"), std::ios::binary);
        std::getline(recordTarget, recordPath);
        std::ofstream record(recordPath, std::ios::binary | std::ios::trunc);
        for (const std::string& each : arguments) {
            record << each << "\n";
        }
        std::ofstream(folder / (name + ".cwd"), std::ios::binary | std::ios::trunc)
            << fs::current_path().string();
        std::ofstream calls(folder / "calls.txt", std::ios::binary | std::ios::app);
        calls << name;
        for (std::size_t i = 1; i < arguments.size(); ++i) {
            calls << " " << arguments[i];
        }
        calls << "\n";
    }

    const std::map<std::string, long long> sizes = readSizes(folder / "sizes.txt");
    const auto size = [&](const char* key) {
        const auto found = sizes.find(key);
        return found == sizes.end() ? 0 : found->second;
    };
    if (name == "bbdmux") {
        const std::string stream = argument(arguments, 2);
        const std::string gate = argument(arguments, 3) + ".gate";
        for (int i = 0;
             stream == "0xbd" && (fs::exists(folder / "audio.gate") || fs::exists(gate)) && i < 600;
             ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        writeZeros(argument(arguments, 3), stream == "0xbd" ? size("audio") : size("video"));
    } else if (name == "mplex") {
        for (int i = 0; fs::exists(argument(arguments, 5) + ".gate") && i < 600; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        writeZeros(argument(arguments, 5), size("remux"));
        return static_cast<int>(size("remuxExit"));
    } else if (name == "dvdauthor") {
        const fs::path videoTs = fs::path(argument(arguments, 2)) / "VIDEO_TS";
        fs::create_directories(videoTs);
        const char* const ifo = argument(arguments, 3) == "-t" ? "VTS_01_0.IFO" : "VIDEO_TS.IFO";
        if (argument(arguments, 3) == "-t") {
            writeZeros((videoTs / "VTS_01_1.VOB").string(), size("title"));
        }
        std::error_code error;
        fs::copy_file(folder / (std::string(ifo) + ".fake"), videoTs / ifo,
                      fs::copy_options::overwrite_existing, error);
    }
    return name == "fails" ? 3 : 0;
}
