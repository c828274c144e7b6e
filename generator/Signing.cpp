#include "generator/Signing.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "generator/ExeWriter.h"

extern char** environ;

namespace vexal {
namespace gen {

namespace fs = std::filesystem;

SigningScratch::SigningScratch() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") + "/vexal-sign-XXXXXX";
    if (::mkdtemp(&pattern[0]) == nullptr) throw BuildError("signing: cannot create a private scratch directory");
    path_ = pattern;
}

SigningScratch::~SigningScratch() {
    std::error_code ec;
    fs::remove_all(path_, ec);  // never follows a link
}

namespace {

// A new file only: O_EXCL and O_NOFOLLOW, so an existing file or a link is
// never written through.
void writePrivateFile(const fs::path& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) throw BuildError(path.string() + ": cannot create");
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            throw BuildError(path.string() + ": write error");
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

}  // namespace

std::vector<std::string> signCommand(const std::string& tool, const SigningOptions& options,
                                     const std::string& description, const fs::path& input, const fs::path& output,
                                     const fs::path& passwordFile) {
    std::vector<std::string> command = {tool, "sign"};
    if (!options.pkcs12.empty()) {
        command.insert(command.end(), {"-pkcs12", options.pkcs12.string()});
    } else {
        command.insert(command.end(), {"-certs", options.certificate.string(), "-key", options.key.string()});
    }
    if (!passwordFile.empty()) command.insert(command.end(), {"-readpass", passwordFile.string()});
    command.insert(command.end(), {"-h", "sha256"});
    if (!description.empty()) command.insert(command.end(), {"-n", description});
    if (!options.timestampUrl.empty()) command.insert(command.end(), {"-t", options.timestampUrl});
    if (!options.signingTime.empty()) command.insert(command.end(), {"-time", options.signingTime});
    command.insert(command.end(), {"-in", input.string(), "-out", output.string()});
    return command;
}

std::string findSigningTool() {
    if (const char* tool = std::getenv("VEXAL_OSSLSIGNCODE")) {
        if (*tool) return tool;
    }
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        fs::path candidate = fs::path(dir.empty() ? "." : dir) / "osslsigncode";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return "";
}

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

std::string signExecutable(const std::string& bytes, const SigningOptions& options, const std::string& description,
                           const fs::path& target) {
    SigningScratch scratch;
    return signExecutable(bytes, options, description, target, scratch);
}

std::string signExecutable(const std::string& bytes, const SigningOptions& options, const std::string& description,
                           const fs::path& target, const SigningScratch& scratch) {
    std::string tool = findSigningTool();
    if (tool.empty()) {
        throw BuildError("signing needs osslsigncode, which is not installed (Debian package osslsigncode; or set "
                         "VEXAL_OSSLSIGNCODE)");
    }
    const fs::path input = scratch.file("unsigned.exe");
    const fs::path output = scratch.file("signed.exe");
    fs::path passwordFile;
    writePrivateFile(input, bytes);
    if (!options.passwordEnv.empty()) {
        const char* password = std::getenv(options.passwordEnv.c_str());
        if (!password) {
            throw BuildError("signing.password-env: the environment variable " + options.passwordEnv + " is not set");
        }
        passwordFile = scratch.file("password");
        writePrivateFile(passwordFile, password);
    }
    SigningOptions effective = options;
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (effective.signingTime.empty() && epoch && *epoch) effective.signingTime = epoch;
    std::string log;
    int code = runProgram(signCommand(tool, effective, description, input, output, passwordFile), log);
    if (code != 0) {
        while (!log.empty() && (log.back() == '\n' || log.back() == '\r')) log.pop_back();
        throw BuildError("osslsigncode could not sign " + target.string() +
                         (code < 0 ? " (it did not run)" : " (exit code " + std::to_string(code) + ")") +
                         (log.empty() ? "" : ":\n" + log));
    }
    return readFileBytes(output);
}

}  // namespace gen
}  // namespace vexal
