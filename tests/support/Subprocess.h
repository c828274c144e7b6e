#pragma once
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vexal::testing {

struct ProcessResult {
    int exitCode = -1;  // the exit status, or -signal
    bool timedOut = false;
    std::string out;
    std::string err;
};

// A child process with standard input from /dev/null and its standard output
// and error captured through pipes. The result is taken when the child
// itself has ended: what it wrote is in the pipes by then, and processes
// that inherited the pipes and live on (background services) cannot stall
// the reader.
class Subprocess {
public:
    // environment: variables to set ("" values allowed); unset: variables to
    // remove from the inherited environment. The launchers' and the JVM's own
    // variables (VEXAL_LOG, JAVA_HOME, JAVA_TOOL_OPTIONS and their kin) are
    // never inherited.
    Subprocess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment = {},
               const std::vector<std::string>& unset = {});
    ~Subprocess();
    Subprocess(const Subprocess&) = delete;
    Subprocess& operator=(const Subprocess&) = delete;

    // Pumps the pipes until done(out) holds or the time runs out; false on
    // time-out or when the child ended first.
    bool waitForOutput(const std::function<bool(const std::string& out)>& done, std::chrono::milliseconds limit);

    // Whether the child has ended, without waiting (what it wrote so far is
    // taken from the pipes, so that a full pipe never holds it up).
    bool ended();

    // Waits for the end (killing the child after limit) and returns what it
    // wrote.
    ProcessResult finish(std::chrono::milliseconds limit);

    // The child's process id (crash tests end it with a signal of their own).
    pid_t pid() const { return pid_; }

private:
    bool pump(int timeoutMs);
    bool reap(bool block);

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    bool ended_ = false;
    ProcessResult result_;
};

ProcessResult runProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment,
                         const std::vector<std::string>& unset, std::chrono::milliseconds limit);

}  // namespace vexal::testing
