#include "tests/support/Subprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace vexal::testing {

namespace {

using Clock = std::chrono::steady_clock;

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

enum class ReadOutcome { Data, Empty, Closed };

// Reads what is available now without waiting.
ReadOutcome readAvailable(int fd, std::string& into) {
    char buffer[4096];
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
        into.append(buffer, static_cast<std::size_t>(n));
        return ReadOutcome::Data;
    }
    return n < 0 && (errno == EAGAIN || errno == EINTR) ? ReadOutcome::Empty : ReadOutcome::Closed;
}

// Reads until the pipe is empty (or closed), then closes it.
void drainAndClose(int& fd, std::string& into) {
    while (fd >= 0 && readAvailable(fd, into) == ReadOutcome::Data) {
    }
    closeFd(fd);
}

}  // namespace

Subprocess::Subprocess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment,
                       const std::vector<std::string>& unset) {
    if (argv.empty()) throw std::invalid_argument("Subprocess: empty argv");
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        int devNull = ::open("/dev/null", O_RDONLY);
        ::dup2(devNull, 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::setpgid(0, 0);
        // What the person running the tests has set for their own launchers
        // and JVMs (a log switch, a Java home, JVM options) never reaches a
        // test's program unless the test sets it itself.
        for (const char* name : {"VEXAL_LOG", "KORVALITH_LOG", "VEXAL_JAVA_HOME", "KORVALITH_JAVA_HOME", "JAVA_HOME",
                                 "JDK_HOME", "JAVA_TOOL_OPTIONS", "_JAVA_OPTIONS", "JDK_JAVA_OPTIONS"})
            ::unsetenv(name);
        for (const auto& name : unset) ::unsetenv(name.c_str());
        for (const auto& entry : environment) ::setenv(entry.first.c_str(), entry.second.c_str(), 1);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ::setpgid(pid_, pid_);
    ::close(out[1]);
    ::close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
    ::fcntl(outFd_, F_SETFL, O_NONBLOCK);
    ::fcntl(errFd_, F_SETFL, O_NONBLOCK);
}

Subprocess::~Subprocess() {
    if (!ended_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        reap(true);
    }
    closeFd(outFd_);
    closeFd(errFd_);
}

bool Subprocess::reap(bool block) {
    if (ended_) return true;
    int status = 0;
    pid_t r = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
    if (r != pid_) return false;
    ended_ = true;
    result_.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return true;
}

bool Subprocess::pump(int timeoutMs) {
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    int n = ::poll(fds, 2, timeoutMs);
    bool any = false;
    if (n > 0) {
        if (outFd_ >= 0 && (fds[0].revents & (POLLIN | POLLHUP)) &&
            readAvailable(outFd_, result_.out) == ReadOutcome::Closed)
            closeFd(outFd_);
        if (errFd_ >= 0 && (fds[1].revents & (POLLIN | POLLHUP)) &&
            readAvailable(errFd_, result_.err) == ReadOutcome::Closed)
            closeFd(errFd_);
        any = true;
    }
    return any;
}

bool Subprocess::waitForOutput(const std::function<bool(const std::string&)>& done, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!done(result_.out)) {
        if (reap(false)) {
            while (outFd_ >= 0 && readAvailable(outFd_, result_.out) == ReadOutcome::Data) {
            }
            return done(result_.out);
        }
        if (Clock::now() >= deadline) return false;
        pump(20);
    }
    return true;
}

bool Subprocess::ended() {
    if (ended_) return true;
    pump(0);
    return reap(false);
}

ProcessResult Subprocess::finish(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!reap(false)) {
        if (Clock::now() >= deadline) {
            result_.timedOut = true;
            ::kill(-pid_, SIGKILL);
            ::kill(pid_, SIGKILL);
            reap(true);
            break;
        }
        pump(10);
    }
    // Everything the child wrote is in the pipes now; take what is there
    // without waiting for writers that live on.
    drainAndClose(outFd_, result_.out);
    drainAndClose(errFd_, result_.err);
    return result_;
}

ProcessResult runProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment,
                         const std::vector<std::string>& unset, std::chrono::milliseconds limit) {
    Subprocess process(argv, environment, unset);
    return process.finish(limit);
}

}  // namespace vexal::testing
