#pragma once
// Java homes of stand-in runtimes in the Wine file system, for the tests of
// the JVM search. The stand-ins (fixtures/java-standin) print the banner of
// their "standin.cfg", exit with its code or hang, and log each run in
// "ran.log" beside themselves.
#include <windows.h>

#include <string>
#include <vector>

namespace vexal::wintest {

// Directory of the built stand-ins, seen from a test program in
// win64-tests/tests/wine.
inline std::string standinDirectory() {
    char buffer[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    std::string dir(buffer, n);
    dir.resize(dir.rfind('\\') + 1);
    return dir + "..\\..\\fixtures\\java-standin\\";
}

struct Standin {
    std::string banner = "java version \"1.5.0_06\"";
    std::string ending = "0";  // exit code, or "hang"
    std::string notice;        // a line printed before the banner
};

inline Standin banner(const std::string& version) { return Standin{"java version \"" + version + "\"", "0"}; }

// Writes the stand-in configuration of a bin directory.
inline void configureStandin(const std::string& binDir, const Standin& standin) {
    const std::string text = standin.banner + "\r\n" + standin.ending + "\r\n" + standin.notice + "\r\n";
    HANDLE file = CreateFileA((binDir + "\\standin.cfg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// A bin directory with the stand-in java.exe (and javaw.exe).
inline void makeStandinBin(const std::string& binDir, const Standin& standin, bool withJavaw) {
    for (std::size_t at = binDir.find('\\', 3);; at = binDir.find('\\', at + 1)) {
        CreateDirectoryA(binDir.substr(0, at).c_str(), nullptr);
        if (at == std::string::npos) break;
    }
    CopyFileA((standinDirectory() + "java.exe").c_str(), (binDir + "\\java.exe").c_str(), FALSE);
    if (withJavaw) CopyFileA((standinDirectory() + "javaw.exe").c_str(), (binDir + "\\javaw.exe").c_str(), FALSE);
    configureStandin(binDir, standin);
}

enum class JavaLayout {
    Jdk,  // home\jre\bin\java.exe and home\bin\java.exe
    Jre,  // home\bin\java.exe
};

// Lays out a Java home; returns the java.exe the search should test.
inline std::string makeJavaHome(const std::string& home, JavaLayout layout, const Standin& standin,
                                bool withJavaw = false) {
    makeStandinBin(home + "\\bin", standin, withJavaw);
    if (layout == JavaLayout::Jre) return home + "\\bin\\java.exe";
    makeStandinBin(home + "\\jre\\bin", standin, withJavaw);
    return home + "\\jre\\bin\\java.exe";
}

// The runs a bin directory's stand-ins recorded: one command line each.
inline std::vector<std::string> standinRuns(const std::string& binDir) {
    std::vector<std::string> runs;
    HANDLE file = CreateFileA((binDir + "\\ran.log").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return runs;
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        runs.push_back(text.substr(start, end - start));
    return runs;
}

}  // namespace vexal::wintest
