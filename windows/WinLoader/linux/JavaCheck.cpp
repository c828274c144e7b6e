// The version probe and the executable search of the JVM search on Linux:
// "java -version" started through posix_spawn with standard error read from
// a pipe, and the directories of PATH.
#include "windows/WinLoader/JavaCheck.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "files/PathLogic.h"
#include "windows/WinLoader/ProbeOutput.h"

extern char** environ;

namespace vexal {

namespace {

constexpr int kProbeTimeoutMs = 10000;
// The banner is on the first lines; whatever follows is read and dropped.
constexpr std::size_t kOutputKept = 4096;

long long nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Reads the pipe until the writer closes it or the time-out passes. False
// on time-out.
bool readUntilClosed(int fd, std::string& output) {
    const long long deadline = nowMs() + kProbeTimeoutMs;
    char buffer[1024];
    for (;;) {
        const long long left = deadline - nowMs();
        if (left <= 0) return false;
        pollfd waiting{fd, POLLIN, 0};
        const int ready = poll(&waiting, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        const std::size_t room = kOutputKept - std::min(kOutputKept, output.size());
        output.append(buffer, std::min(room, static_cast<std::size_t>(n)));
    }
}

// Starts executable -version with standard error on the pipe's write end and
// standard input and output on /dev/null; 0 when it cannot be started.
pid_t startProbe(const std::string& executable, int errorFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errorFd, 2);
    char* argv[] = {const_cast<char*>(executable.c_str()), const_cast<char*>("-version"), nullptr};
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? 0 : pid;
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

bool probeJavaVersion(const std::string& executable, std::string& version) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    const pid_t pid = startProbe(executable, fds[1]);
    close(fds[1]);
    if (pid == 0) {
        close(fds[0]);
        return false;
    }
    std::string output;
    const bool ended = readUntilClosed(fds[0], output);
    close(fds[0]);
    if (!ended) kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    return versionOfProbeOutput(output, version);
}

bool searchExecutable(const std::string& fileName, std::string& found) {
    // PATH as a whole; empty and relative elements would mean places under
    // the current directory, where a "java" that happens to lie there is
    // not taken.
    const char* path = std::getenv("PATH");
    if (path == nullptr) return false;
    for (const std::string& directory : executableSearchDirectories(path, kLinuxPathStyle)) {
        const std::string candidate = directory + (directory.back() == '/' ? "" : "/") + fileName;
        if (!isExecutableFile(candidate)) continue;
        // /usr/bin/java is a chain of links to the runtime's bin/java; the
        // JVM library is looked for beside the real file.
        char real[PATH_MAX];
        found = realpath(candidate.c_str(), real) ? std::string(real) : candidate;
        return true;
    }
    return false;
}

}  // namespace vexal
