#include "windows/WinLoader/HiddenProcess.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdint>

extern char** environ;

namespace vexal {

ProcessRef startHiddenProcess(const std::string& commandLine) {
    // The command line is split by the shell, as the Windows command line is
    // by the started program; there is no window to hide.
    char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), const_cast<char*>(commandLine.c_str()),
                    nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return nullptr;
    return reinterpret_cast<ProcessRef>(static_cast<std::intptr_t>(pid));
}

void waitForProcessEnd(ProcessRef process) {
    if (process == nullptr) return;
    const pid_t pid = static_cast<pid_t>(reinterpret_cast<std::intptr_t>(process));
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace vexal
