#include "windows/WinLoader/HiddenProcess.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdint>

extern char** environ;

namespace vexal {

ProcessRef startHiddenProcess(const std::vector<std::string>& arguments) {
    // The program runs directly with its argument vector: no shell sees the
    // paths. There is no window to hide.
    if (arguments.empty()) return nullptr;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, arguments[0].c_str(), nullptr, nullptr, argv.data(), environ) != 0) return nullptr;
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
