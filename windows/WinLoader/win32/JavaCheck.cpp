#include "windows/WinLoader/JavaCheck.h"

#include <windows.h>

#include "common/win32/Handle.h"
#include "files/PathLogic.h"
#include "files/TempFiles.h"
#include "windows/WinLoader/JavaVersion.h"
#include "windows/WinLoader/ProbeOutput.h"
#include "windows/WinLoader/ProgramCommandLine.h"

namespace vexal {

namespace {

constexpr DWORD kProbeTimeoutMs = 10000;
// After TerminateProcess the child still holds the output file until it is
// gone; the file is deleted only after that.
constexpr DWORD kTerminationWaitMs = 5000;
// The first output line is read as a 100-byte line buffer holds it.
constexpr DWORD kFirstLineLimit = 99;
constexpr DWORD kProbeOutputLimit = 65536;

// The output file opened create-always, shared for reading and writing, as
// an inheritable handle; null when it cannot be opened.
HANDLE openInheritableOutput(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    HANDLE inheritable = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), file.get(), GetCurrentProcess(), &inheritable, 0, TRUE,
                         DUPLICATE_SAME_ACCESS))
        return nullptr;
    return inheritable;
}

// Runs the command line with standard error on output, hidden, at most the
// time-out; the exit code, or STILL_ACTIVE for a process that had to be
// ended. False when the process cannot be started.
bool runProbe(const std::string& executable, HANDLE output, DWORD& exitCode) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;  // 0x101
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = nullptr;
    startup.hStdError = output;
    // The executable is named as the application and quoted on the command
    // line: unquoted, "c:\java runtimes\bin\java.exe" would first start
    // "c:\java.exe", and the short form keeps its blanks wherever the volume
    // has no 8.3 names.
    std::string commandLine = programCommandLine({executable, "-version"});
    PROCESS_INFORMATION child{};
    if (!CreateProcessA(executable.c_str(), &commandLine[0], nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &child))
        return false;
    KernelHandle process(child.hProcess), thread(child.hThread);
    WaitForSingleObject(process.get(), kProbeTimeoutMs);
    exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.get(), &exitCode);
    if (exitCode == STILL_ACTIVE) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), kTerminationWaitMs);
    }
    return true;
}

// The start of the probe's output: enough for the notices that the runtime
// may print in front of its banner.
bool readProbeOutput(const std::string& path, std::string& text) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::string buffer(kProbeOutputLimit, '\0');
    DWORD got = 0;
    if (!ReadFile(file.get(), &buffer[0], kProbeOutputLimit, &got, nullptr) || got == 0) return false;
    buffer.resize(got);
    text = std::move(buffer);
    return true;
}

// PATH as a whole: a value cut at a buffer's size could end in a piece of a
// directory name that names another directory.
bool wholePathValue(std::string& value) {
    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) return false;
    std::string buffer(size, '\0');
    const DWORD n = GetEnvironmentVariableA("PATH", &buffer[0], size);
    if (n == 0 || n >= size) return false;
    buffer.resize(n);
    value = std::move(buffer);
    return true;
}

}  // namespace

bool probeJavaVersion(const std::string& executable, std::string& version) {
    const std::string outputPath = createTempFileName();
    KernelHandle output(outputPath.empty() ? nullptr : openInheritableOutput(outputPath));

    DWORD exitCode = 1;
    const bool started = runProbe(executable, output.get(), exitCode);
    output.reset();

    bool found = false;
    std::string text;
    if (started && exitCode == 0 && readProbeOutput(outputPath, text))
        found = versionOfProbeOutput(text, version, kFirstLineLimit);
    if (!outputPath.empty()) DeleteFileA(outputPath.c_str());
    return found;
}

bool searchExecutable(const std::string& fileName, std::string& found) {
    // PATH alone, walked here: the platform's own search would look in the
    // launcher's folder and the current directory first, where anyone who
    // can put a file there would have it probed and its JVM library loaded.
    std::string path;
    if (!wholePathValue(path)) return false;
    for (const std::string& directory : executableSearchDirectories(path, kWindowsPathStyle)) {
        const bool separated = directory.back() == '\\' || directory.back() == '/';
        const std::string candidate = directory + (separated ? "" : "\\") + fileName;
        const DWORD attributes = GetFileAttributesA(candidate.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        found = candidate;
        return true;
    }
    return false;
}

}  // namespace vexal
