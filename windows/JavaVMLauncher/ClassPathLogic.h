#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/PathStyle.h"

namespace vexal {

// The option text is held in an 8192-byte buffer: at most this many bytes.
constexpr std::size_t kClassPathLimit = 8191;

// "-Djava.class.path=" and the style's list separator: while the option is
// assembled every entry is written behind the text so far and followed by a
// separator.
std::string classPathPrefix(const PathStyle& style);

// The finished option: the assembled text without empty elements. Java reads
// an empty element as the current directory, so the separator in front of the
// first entry and the one behind the last would put whatever classes lie in
// the user's working directory on the class path, ahead of the application's.
std::string finishedClassPath(const std::string& assembled, const PathStyle& style);

// The services the class path reads from the platform; tests give fakes.
struct ClassPathServices {
    std::function<std::string(const std::string&)> resolveAgainstExeDir;
    std::function<std::string(const std::string&)> absolutePath;  // without keepCase
    std::function<bool(const std::string&)> pathExists;
    std::function<std::vector<std::string>(const std::string& directory, const std::string& extension)> listArchives;
    // True when the variable exists; value as an 8192-byte buffer holds it.
    std::function<bool(const std::string& name, std::string& value)> environmentValue;
    std::function<void(std::string&)> substituteVariables;
    // The separators that join the entries and the paths.
    PathStyle style = kWindowsPathStyle;
};

// What the class path is made of besides the platform.
struct ClassPathConfig {
    std::string extractionDir;  // empty when nothing was extracted
    char launcherKind = 0;
    std::string installRoot;    // entry 10003
    std::string items;          // entry 121
};

// A required item that is missing: the configured message to end with.
struct ClassPathFailure {
    std::int32_t messageId = 0;  // 0: none
    const char* placeholder = nullptr;
    std::string value;
};

// Builds the option step by step. An entry that would carry the option
// beyond kClassPathLimit is left out whole (never cut into a half path) and
// kept in dropped(); the first missing required item stops the assembly and
// is kept in failure().
class ClassPathAssembler {
public:
    explicit ClassPathAssembler(ClassPathServices services) : services_(std::move(services)) {}

    std::string build(const ClassPathConfig& config);
    void appendEntries(std::string& classPath, const ClassPathConfig& config);
    void appendRuntimeJar(std::string& classPath, char launcherKind, const std::string& installRoot);
    bool appendArchives(std::string& classPath, const std::string& directory, const std::string& extension);

    const ClassPathFailure& failure() const { return failure_; }
    bool failed() const { return failure_.messageId != 0; }
    const std::vector<std::string>& dropped() const { return dropped_; }

private:
    void appendItem(std::string& classPath, const std::string& item);
    void append(std::string& classPath, const std::string& entry);

    ClassPathServices services_;
    ClassPathFailure failure_;
    std::vector<std::string> dropped_;
};

// The directory search pattern: directory\*.extension (one dot).
std::string archivePattern(const std::string& directory, const std::string& extension);

// Whether a file name ends in ".extension" (extension given without or with
// its dot), case-sensitively: the name test of a directory listing where the
// platform has no search pattern.
bool hasArchiveExtension(const std::string& name, const std::string& extension);

}  // namespace vexal
