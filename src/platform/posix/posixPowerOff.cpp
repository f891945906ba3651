#include "platform/posix/posixPowerOff.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <initializer_list>
#include <vector>

extern char** environ;

namespace platform {

namespace {

// Runs a program found on the PATH and waits for it; true when it ran and succeeded.
bool runToSuccess(std::initializer_list<const char*> arguments) {
    std::vector<char*> argv;
    for (const char* argument : arguments) {
        argv.push_back(const_cast<char*>(argument));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

// Non-interactive: at the end of an unattended run nobody is there to type a password.
bool requestPosixPowerOff() {
    return runToSuccess({"busctl", "call", "org.freedesktop.login1", "/org/freedesktop/login1",
                         "org.freedesktop.login1.Manager", "PowerOff", "b", "false"}) ||
           runToSuccess({"systemctl", "poweroff", "--no-ask-password"});
}

}  // namespace platform
