// Runs a command and writes to RESULT_FILE its wall time and, apart, the processor time (user
// plus system, seconds) of the command's own process and of the processes it waited for (the
// tools):
//   own_cpu_time RESULT_FILE COMMAND [ARGUMENT...]
// The tools' time is read from /proc/PID/stat while the ended process is still unreaped, so it is
// the command's children's and not those of whoever runs it. /proc counts in clock ticks (10 ms),
// too coarse for a program that mostly waits: the command's own time is taken by getrusage inside
// it, at its exit (libown_cpu_at_exit.so, preloaded), in microseconds; /proc's figure stands in
// for a program that cannot load it. Exits with the command's status.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Fields 14 to 17 of /proc/PID/stat: utime, stime, cutime, cstime, in clock ticks.
bool readTimes(pid_t pid, double& own, double& children) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The command name, in parentheses, may hold blanks: count fields after its end.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return false;
    }
    std::istringstream fields(stat.substr(nameEnd + 2));
    std::vector<std::string> values{std::istream_iterator<std::string>(fields), {}};
    if (values.size() < 15) {
        return false;
    }
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    // values[0] is field 3 (state), so field N is values[N - 3].
    own = (std::stod(values[11]) + std::stod(values[12])) / tick;
    children = (std::stod(values[13]) + std::stod(values[14])) / tick;
    return true;
}

// The measured program's own time as libown_cpu_at_exit.so wrote it, in seconds.
bool readPreciseOwnTime(const std::string& file, double& own) {
    std::ifstream in(file);
    long long microseconds = 0;
    if (!(in >> microseconds)) {
        return false;
    }
    own = static_cast<double>(microseconds) / 1e6;
    return true;
}

std::string besideThisProgram(const std::string& name) {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string self(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    return self.substr(0, self.rfind('/') + 1) + name;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: own_cpu_time RESULT_FILE COMMAND [ARGUMENT...]\n");
        return 2;
    }
    const std::string ownTimeFile = std::string(argv[1]) + ".own";
    std::remove(ownTimeFile.c_str());
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("LD_PRELOAD", besideThisProgram("libown_cpu_at_exit.so").c_str(), 1);
        setenv("MAROVINK_OWN_CPU_FILE", ownTimeFile.c_str(), 1);
        execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        _exit(127);
    }
    siginfo_t info{};
    if (pid < 0 || waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0) {
        std::perror("own_cpu_time");
        return 2;
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double own = 0;
    double children = 0;
    const bool read = readTimes(pid, own, children);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!read) {
        std::fprintf(stderr, "own_cpu_time: cannot read /proc/%d/stat\n", static_cast<int>(pid));
        return 2;
    }
    readPreciseOwnTime(ownTimeFile, own);
    std::remove(ownTimeFile.c_str());
    std::ofstream(argv[1]) << wall << " " << own << " " << children << "\n";
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
