// Loaded into a measured program by own_cpu_time (LD_PRELOAD): when the program ends, writes the
// processor time of the program's own process, all its threads and none of its children, in
// microseconds, into the file that MAROVINK_OWN_CPU_FILE names. The variables are removed at
// once, so the tools the program starts are not measured this way.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string& resultFile() {
    static std::string path;
    return path;
}

void writeOwnTime() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    if (FILE* out = std::fopen(resultFile().c_str(), "w")) {
        std::fprintf(
            out, "%lld\n",
            static_cast<long long>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000 +
                usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
        std::fclose(out);
    }
}

__attribute__((constructor)) void start() {
    const char* path = std::getenv("MAROVINK_OWN_CPU_FILE");
    if (path == nullptr) {
        return;
    }
    resultFile() = path;
    unsetenv("MAROVINK_OWN_CPU_FILE");
    unsetenv("LD_PRELOAD");
    std::atexit(writeOwnTime);
}

}  // namespace
