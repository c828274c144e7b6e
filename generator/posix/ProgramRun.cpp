#include "generator/ProgramRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace vexal {
namespace gen {

int runProgram(const std::vector<std::string>& command, std::string& output) {
    char pattern[] = "/tmp/vexal-run-XXXXXX";
    int fd = ::mkstemp(pattern);
    if (fd < 0) return -1;
    ::unlink(pattern);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fd, 1);
    posix_spawn_file_actions_adddup2(&actions, fd, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (const auto& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned == 0) {
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    ::lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    ssize_t n;
    output.clear();
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    if (spawned != 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace gen
}  // namespace vexal
