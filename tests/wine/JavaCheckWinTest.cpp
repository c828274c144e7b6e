#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "config/ConfigIds.h"
#include "files/PathHelpers.h"
#include "tests/wine/ImportHook.h"
#include "tests/wine/JvmSearchFixture.h"
#include "windows/WinLoader/JavaCheck.h"

using namespace vexal;
using namespace vexal::wintest;

namespace {

using Lines = std::vector<std::string>;

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A volume without 8.3 names: the short form of a path is the path itself.
DWORD WINAPI shortFormIsTheLongOne(LPCSTR path, LPSTR out, DWORD size) {
    const DWORD n = static_cast<DWORD>(std::strlen(path));
    if (n >= size) return n + 1;
    std::memcpy(out, path, n + 1);
    return n;
}

std::string fixturesDirectory() { return standinDirectory() + "..\\"; }

// Sets the machine field of a PE file's header, as a build for another
// machine has it.
void setMachine(const std::string& path, std::uint16_t machine) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD peOffset = 0, done = 0;
    SetFilePointer(file, 0x3C, nullptr, FILE_BEGIN);
    ReadFile(file, &peOffset, 4, &done, nullptr);
    SetFilePointer(file, static_cast<LONG>(peOffset + 4), nullptr, FILE_BEGIN);
    WriteFile(file, &machine, 2, &done, nullptr);
    CloseHandle(file);
}

// A stand-in JVM library (a fixture) copied into bin\<variant>\jvm.dll,
// with its machine field changed unless machine is 0.
void addLibrary(const std::string& bin, const std::string& variant, const std::string& fixture,
                std::uint16_t machine = 0) {
    CreateDirectoryA((bin + "\\" + variant).c_str(), nullptr);
    const std::string to = bin + "\\" + variant + "\\jvm.dll";
    ASSERT_TRUE(CopyFileA((fixturesDirectory() + fixture).c_str(), to.c_str(), FALSE)) << fixture;
    if (machine != 0) setMachine(to, machine);
}

class JavaCheckTest : public JvmSearchTest {
protected:
    // A JRE home whose java.exe has been checked once (and so cached).
    std::string cachedHome(const std::string& name, std::string& exe) {
        exe = makeJavaHome(home(name), JavaLayout::Jre, banner("1.5.0_06"));
        std::string version, checked = exe;
        EXPECT_TRUE(checkJavaExe(checked, version, "1.5", "", false));
        exe = checked;
        newLogLines();
        return home(name) + "\\bin";
    }

    FileTime fileTime(const std::string& path) {
        FileTime time;
        EXPECT_TRUE(findFile(path, &time));
        return time;
    }

    std::string cacheKey(const std::string& exe) {
        std::string name = exe;
        for (char& c : name)
            if (c == '\\') c = '/';
        return keys_.versionCacheKey + name;
    }
};

}  // namespace

// Probed versions against the bounds; every line of the check as logged.
TEST_F(JavaCheckTest, ProbedVersionAgainstBounds) {
    struct Row {
        const char* name;
        Standin standin;
        const char* minimum;
        const char* maximum;
        bool passes;
        const char* versionLine;
    } rows[] = {
        {"within", banner("1.5.0_06"), "1.5", "", true, "got version from execution 1.5.0_06"},
        {"short", banner("1.5"), "1.5.0", "", false, "got version from execution 1.5"},
        {"above", banner("1.6.0"), "", "1.5", false, "got version from execution 1.6.0"},
        {"openjdk", {"openjdk version \"17.0.15\" 2025-04-15", "0"}, "1.5", "", true,
         "got version from execution 17.0.15"},
        {"failing", {"java version \"1.5.0_06\"", "1"}, "1.5", "", false, "couldn't get version"},
        {"other", {"Error: could not open jvm.cfg", "0"}, "", "", false, "couldn't get version"},
        // JAVA_TOOL_OPTIONS and its kin make the runtime print a notice first.
        {"notice first", {"openjdk version \"17.0.15\" 2025-04-15", "0", "Picked up JAVA_TOOL_OPTIONS: -Dx=y"},
         "11", "", true, "got version from execution 17.0.15"},
        {"other notice", {"java version \"1.5.0_06\"", "0", "Error: something else"}, "", "", false,
         "couldn't get version"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string exe = makeJavaHome(home(row.name), JavaLayout::Jre, row.standin);
        std::string checked = exe, version;
        EXPECT_EQ(checkJavaExe(checked, version, row.minimum, row.maximum, false), row.passes);
        EXPECT_EQ(checked, absolutePath(exe, false));
        const Lines expected = {
            "checkJavaExe (" + exe + ", [out], " + row.minimum + ", " + row.maximum + ", 0)",
            "file exists",
            row.versionLine,
            std::string("checkJavaExe returning ") + (row.passes ? "1" : "0"),
        };
        EXPECT_EQ(newLogLines(), expected);
        const Lines runs = standinRuns(home(row.name) + "\\bin");
        ASSERT_EQ(runs.size(), 1u);
        // The path quoted as it is, whatever it holds.
        EXPECT_EQ(runs[0], "\"" + absolutePath(exe, false) + "\" -version");
        EXPECT_TRUE(probeLeftovers().empty());
    }
}

TEST_F(JavaCheckTest, MissingExecutable) {
    std::string exe = home("none") + "\\bin\\java.exe", version;
    EXPECT_FALSE(checkJavaExe(exe, version, "1.5", "", true));
    EXPECT_EQ(newLogLines(), (Lines{"checkJavaExe (" + home("none") + "\\bin\\java.exe, [out], 1.5, , 1)",
                                    "file doesn't exist", "checkJavaExe returning 0"}));
    // A home with neither layout is tested through "\bin\java.exe".
    CreateDirectoryA(home("empty").c_str(), nullptr);
    EXPECT_FALSE(checkJavaHome(exe, home("empty"), "1.5", "", false));
    EXPECT_EQ(exe, absolutePath(home("empty"), false) + "\\bin\\java.exe");
    EXPECT_EQ(newLogLines()[1], "file doesn't exist");
}

// 1.6.0-beta2 from an environment variable depends on entry 130; from a
// directory it passes either way.
TEST_F(JavaCheckTest, BetaByLocation) {
    for (const char* entry130 : {"0", "1"}) {
        SCOPED_TRACE(entry130);
        configStore().setNarrow(id::AcceptBeta, entry130);
        const std::string dir = home(std::string("beta") + entry130);
        makeJavaHome(dir, JavaLayout::Jre, banner("1.6.0-beta2"));
        SetEnvironmentVariableA("VXL_TEST_JAVA_HOME", dir.c_str());
        std::string exe;
        EXPECT_EQ(checkJavaEnvVar(exe, "VXL_TEST_JAVA_HOME", "1.5", ""), entry130[0] == '1');
        EXPECT_TRUE(checkJavaHome(exe, dir, "1.5", "", false));
        EXPECT_EQ(standinRuns(dir + "\\bin").size(), 1u);  // the second check used the cache
    }
    SetEnvironmentVariableA("VXL_TEST_JAVA_HOME", nullptr);
}

TEST_F(JavaCheckTest, EnvironmentVariableTakenLiterally) {
    std::string exe;
    SetEnvironmentVariableA("VXL_TEST_JAVA_HOME", nullptr);
    EXPECT_FALSE(checkJavaEnvVar(exe, "VXL_TEST_JAVA_HOME", "", ""));
    SetEnvironmentVariableA("VXL_TEST_JAVA_HOME", "");
    EXPECT_FALSE(checkJavaEnvVar(exe, "VXL_TEST_JAVA_HOME", "", ""));
    EXPECT_TRUE(newLogLines().empty());  // an unset or empty variable is no location

    const std::string dir = home("Literal");
    makeJavaHome(dir, JavaLayout::Jre, banner("1.5.0_06"));
    SetEnvironmentVariableA("VXL_TEST_JAVA_HOME", (dir + "\\").c_str());
    EXPECT_TRUE(checkJavaEnvVar(exe, "VXL_TEST_JAVA_HOME", "1.5", ""));
    // The trailing backslash is kept, the case too, until checkJavaExe
    // makes the path absolute.
    EXPECT_EQ(newLogLines()[0], "checkJavaExe (" + dir + "\\\\bin\\java.exe, [out], 1.5, , 0)");
    SetEnvironmentVariableA("VXL_TEST_JAVA_HOME", nullptr);
}

TEST_F(JavaCheckTest, JdkLayoutPreferred) {
    const std::string dir = home("jdk");
    makeJavaHome(dir, JavaLayout::Jdk, banner("1.5.0_06"));
    configureStandin(dir + "\\bin", banner("1.4.2"));
    std::string exe;
    EXPECT_TRUE(checkJavaHome(exe, dir, "1.5", "", false));
    EXPECT_EQ(exe, absolutePath(dir, false) + "\\jre\\bin\\java.exe");
    EXPECT_EQ(javaExeForHome(dir), dir + "\\jre\\bin\\java.exe");
    EXPECT_EQ(standinRuns(dir + "\\jre\\bin").size(), 1u);
    EXPECT_TRUE(standinRuns(dir + "\\bin").empty());
}

// Entry 107 = 1 switches an accepted java.exe to the javaw.exe beside it,
// which must exist; no closing log line then.
TEST_F(JavaCheckTest, JavawSwitch) {
    struct Row {
        const char* name;
        const char* entry107;
        bool withJavaw;
        bool passes;
        const char* file;
    } rows[] = {
        {"gui", "1", true, true, "javaw.exe"},
        {"nojavaw", "1", false, false, "javaw.exe"},
        {"console", "0", false, true, "java.exe"},
        {"other", "2", true, true, "java.exe"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        configStore().setNarrow(id::ExecutableType, row.entry107);
        const std::string dir = home(row.name);
        makeJavaHome(dir, JavaLayout::Jre, banner("1.5.0_06"), row.withJavaw);
        std::string exe;
        EXPECT_EQ(checkJavaHome(exe, dir, "1.5", "", false), row.passes);
        EXPECT_EQ(exe, absolutePath(dir, false) + "\\bin\\" + row.file);
        const Lines lines = newLogLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back() == "checkJavaExe returning 1", row.entry107[0] != '1');
    }
    // A rejected version is not switched and says so.
    configStore().setNarrow(id::ExecutableType, "1");
    std::string exe;
    makeJavaHome(home("old"), JavaLayout::Jre, banner("1.4.2"), true);
    EXPECT_FALSE(checkJavaHome(exe, home("old"), "1.5", "", false));
    EXPECT_TRUE(endsWith(exe, "\\java.exe"));
    EXPECT_EQ(newLogLines().back(), "checkJavaExe returning 0");
}

// Where the volume keeps no 8.3 names the short form keeps its blanks. The
// probe of "<scratch>\a b\bin\java.exe" runs that file, not "<scratch>\a.exe",
// which an unquoted command line would start first.
TEST_F(JavaCheckTest, ProbeOfAPathWithBlanksRunsThatExecutable) {
    ImportHook longNames("kernel32.dll", "GetShortPathNameA", reinterpret_cast<void*>(&shortFormIsTheLongOne));
    ASSERT_TRUE(longNames.active());
    const std::string exe = makeJavaHome(home("a b"), JavaLayout::Jre, banner("1.5.0_06"));
    ASSERT_TRUE(CopyFileA((standinDirectory() + "java.exe").c_str(), home("a.exe").c_str(), FALSE));
    configureStandin(scratch_, banner("9.9.9"));
    std::string checked = exe, version;
    EXPECT_TRUE(checkJavaExe(checked, version, "1.5", "1.5", false));
    EXPECT_EQ(version, "1.5.0_06");
    EXPECT_EQ(standinRuns(home("a b") + "\\bin"), Lines{"\"" + absolutePath(exe, false) + "\" -version"});
    EXPECT_EQ(standinRuns(scratch_), Lines{}) << "the planted a.exe ran";
}

// The search path is PATH alone: a java.exe in the current directory, or in
// a folder that an empty, "." or relative PATH element would name there, is
// never probed.
TEST_F(JavaCheckTest, OnSearchPathNeverFromTheCurrentDirectory) {
    char saved[32768];
    const DWORD n = GetEnvironmentVariableA("PATH", saved, sizeof saved);
    char savedDirectory[MAX_PATH];
    GetCurrentDirectoryA(sizeof savedDirectory, savedDirectory);
    const std::string planted = home("planted");
    makeStandinBin(planted, banner("1.5.0_06"), false);
    makeStandinBin(planted + "\\bin", banner("1.5.0_06"), false);
    const std::string real = home("real java");
    makeJavaHome(real, JavaLayout::Jre, banner("1.5.0_06"));
    ASSERT_TRUE(SetCurrentDirectoryA(planted.c_str()));

    struct Row {
        const char* name;
        std::string path;
        bool found;
    } rows[] = {
        {"planted only", ";.;bin;.\\bin;" + std::string(saved, n), false},
        {"the real one behind them", ";.;bin;\"" + real + "\\bin\";" + std::string(saved, n), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetEnvironmentVariableA("PATH", row.path.c_str());
        std::string exe;
        EXPECT_EQ(checkJavaOnPath(exe, "1.5", ""), row.found);
        if (row.found) {
            EXPECT_EQ(exe, absolutePath(real, false) + "\\bin\\java.exe");
        }
    }
    SetCurrentDirectoryA(savedDirectory);
    SetEnvironmentVariableA("PATH", std::string(saved, n).c_str());
    EXPECT_TRUE(standinRuns(planted).empty());
    EXPECT_TRUE(standinRuns(planted + "\\bin").empty());
    EXPECT_EQ(standinRuns(real + "\\bin").size(), 1u);
}

// The 64-bit launcher passes over a runtime whose JVM library is built for
// another machine, with one log line, before any probe; the loader's own
// order decides which libraries count, and without any library the
// executable's header does.
TEST_F(JavaCheckTest, RuntimeOfAnotherMachineIsPassedOver) {
    struct Library {
        const char* variant;
        const char* fixture;
        std::uint16_t machine;
    };
    struct Row {
        const char* name;
        std::vector<Library> libraries;
        std::uint16_t executableMachine;  // 0: the x64 stand-in as it is
        const char* refused;              // the file named in the log line; null: accepted
    } rows[] = {
        {"x64", {{"server", "jvm-standin\\jvm.dll", 0}}, 0, nullptr},
        {"i686", {{"client", "jvm-standin-i686\\jvm.dll", 0}}, 0, "client\\jvm.dll"},
        {"ARM64", {{"server", "jvm-standin\\jvm.dll", 0xAA64}}, 0, "server\\jvm.dll"},
        {"i686 first, x64 further on",
         {{"client", "jvm-standin-i686\\jvm.dll", 0}, {"server", "jvm-standin\\jvm.dll", 0}}, 0, nullptr},
        {"no library, an i686 executable", {}, 0x14C, "java.exe"},
        {"no library, the x64 executable", {}, 0, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string dir = home(row.name);
        const std::string exe = makeJavaHome(dir, JavaLayout::Jre, banner("1.5.0_06"));
        for (const Library& library : row.libraries) addLibrary(dir + "\\bin", library.variant, library.fixture, library.machine);
        if (row.executableMachine != 0) setMachine(exe, row.executableMachine);
        std::string checked = exe, version;
        const bool accepted = checkJavaExe(checked, version, "1.5", "", false);
        EXPECT_EQ(accepted, row.refused == nullptr);
        const Lines lines = newLogLines();
        if (row.refused) {
            const std::string bin = absolutePath(dir, false) + "\\bin\\";
            EXPECT_EQ(lines, (Lines{"checkJavaExe (" + exe + ", [out], 1.5, , 0)", "file exists",
                                    bin + row.refused + " is not a 64-bit runtime", "checkJavaExe returning 0"}));
            EXPECT_TRUE(standinRuns(dir + "\\bin").empty());
            HKEY key = nullptr;
            EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, cacheKey(checked).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
        } else {
            EXPECT_EQ(lines.back(), "checkJavaExe returning 1");
        }
    }
}

// The bundle pass takes a runtime without its version but not one of
// another machine.
TEST_F(JavaCheckTest, BundlePassRefusesAnotherMachine) {
    const std::string dir32 = home("jre32"), dir64 = home("jre64");
    makeJavaHome(dir32, JavaLayout::Jre, banner("1.4.2"));
    addLibrary(dir32 + "\\bin", "client", "jvm-standin-i686\\jvm.dll");
    makeJavaHome(dir64, JavaLayout::Jre, banner("1.4.2"));
    addLibrary(dir64 + "\\bin", "server", "jvm-standin\\jvm.dll");
    std::string exe;
    EXPECT_FALSE(checkJavaHome(exe, dir32, "1.5", "", true));
    EXPECT_EQ(newLogLines(), Lines{absolutePath(dir32, false) + "\\bin\\client\\jvm.dll is not a 64-bit runtime"});
    EXPECT_TRUE(checkJavaHome(exe, dir64, "1.5", "", true));
    EXPECT_EQ(exe, absolutePath(dir64, false) + "\\bin\\java.exe");
    EXPECT_TRUE(standinRuns(dir32 + "\\bin").empty());
}

TEST_F(JavaCheckTest, OnSearchPath) {
    char saved[32768];
    const DWORD n = GetEnvironmentVariableA("PATH", saved, sizeof saved);
    const std::string dir = home("onpath");
    makeJavaHome(dir, JavaLayout::Jre, banner("1.5.0_06"));
    SetEnvironmentVariableA("PATH", (dir + "\\bin;" + std::string(saved, n)).c_str());
    std::string exe;
    EXPECT_TRUE(checkJavaOnPath(exe, "1.5", ""));
    EXPECT_EQ(exe, absolutePath(dir, false) + "\\bin\\java.exe");
    EXPECT_EQ(newLogLines()[0], "checkJavaExe (" + dir + "\\bin\\java.exe, [out], 1.5, , 0)");
    SetEnvironmentVariableA("PATH", std::string(saved, n).c_str());
}

// The cache: an unchanged executable is not probed again; a new last-write
// time, or a stored time that differs in any byte, makes it probe and
// rewrite the entry.
TEST_F(JavaCheckTest, VersionCache) {
    std::string exe;
    const std::string bin = cachedHome("cached", exe);
    std::string version, checked = exe;
    EXPECT_TRUE(checkJavaExe(checked, version, "1.5", "", false));
    EXPECT_EQ(version, "1.5.0_06");
    EXPECT_EQ(newLogLines(), (Lines{"checkJavaExe (" + exe + ", [out], 1.5, , 0)", "file exists",
                                    "got version from registry 1.5.0_06", "checkJavaExe returning 1"}));
    EXPECT_EQ(standinRuns(bin).size(), 1u);

    // The entry as stored: 8 bytes, low half first; the version without terminator.
    const FileTime time = fileTime(exe);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, cacheKey(exe).c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    unsigned char stored[16];
    DWORD type = 0, size = sizeof stored;
    ASSERT_EQ(RegQueryValueExA(key, "LastWriteTime", nullptr, &type, stored, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(size, 8u);
    EXPECT_EQ(stored[0] | stored[1] << 8 | stored[2] << 16 | static_cast<std::uint32_t>(stored[3]) << 24, time.low);
    EXPECT_EQ(stored[4] | stored[5] << 8 | stored[6] << 16 | static_cast<std::uint32_t>(stored[7]) << 24, time.high);
    EXPECT_EQ(narrowValue(cacheKey(exe), "Version"), "1.5.0_06");
    EXPECT_EQ(readStoredValue(cacheKey(exe), "Version").type, static_cast<DWORD>(REG_SZ));

    // A differing byte: ignored, probed, rewritten.
    for (int byte : {0, 7}) {
        SCOPED_TRACE(byte);
        unsigned char changed[8];
        std::memcpy(changed, stored, 8);
        changed[byte] ^= 0x01;
        RegSetValueExA(key, "LastWriteTime", 0, REG_BINARY, changed, 8);
        checked = exe;
        EXPECT_TRUE(checkJavaExe(checked, version, "1.5", "", false));
        EXPECT_EQ(newLogLines()[2], "got version from execution 1.5.0_06");
        size = sizeof changed;
        RegQueryValueExA(key, "LastWriteTime", nullptr, &type, changed, &size);
        EXPECT_EQ(std::memcmp(changed, stored, 8), 0);
    }
    EXPECT_EQ(standinRuns(bin).size(), 3u);

    // A version stored with or without terminator reads the same; a cached
    // version outside the bounds fails without a probe.
    const std::wstring bare = L"1.5.0_07";
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(bare.data()),
                   static_cast<DWORD>(bare.size() * sizeof(wchar_t)));
    checked = exe;
    EXPECT_TRUE(checkJavaExe(checked, version, "1.5", "", false));
    EXPECT_EQ(version, "1.5.0_07");
    setRegistryText(HKEY_CURRENT_USER, cacheKey(exe), "Version", "1.4.2", true);
    checked = exe;
    EXPECT_FALSE(checkJavaExe(checked, version, "1.5", "", false));
    EXPECT_EQ(newLogLines()[2 + 4], "got version from registry 1.4.2");
    EXPECT_EQ(standinRuns(bin).size(), 3u);
    RegCloseKey(key);

    // Touching java.exe probes again.
    FILETIME later{time.low, time.high + 1};
    HANDLE file = CreateFileA(exe.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
    checked = exe;
    EXPECT_TRUE(checkJavaExe(checked, version, "1.5", "", false));
    EXPECT_EQ(newLogLines()[2], "got version from execution 1.5.0_06");
    EXPECT_EQ(standinRuns(bin).size(), 4u);
    EXPECT_TRUE(probeLeftovers().empty());
}

// The real cache key: "SOFTWARE\tarnwellsoft\vexal\jvms\" and the encoded path.
TEST_F(JavaCheckTest, CacheUnderTheProductKey) {
    overrideJvmRegistryKeys(nullptr);
    const std::string exe = absolutePath(makeJavaHome(home("real"), JavaLayout::Jre, banner("1.5.0_06")), false);
    std::string version, checked = exe;
    EXPECT_TRUE(checkJavaExe(checked, version, "1.5", "", false));
    std::string name = exe;
    for (char& c : name)
        if (c == '\\') c = '/';
    const std::string key = "SOFTWARE\\tarnwellsoft\\vexal\\jvms\\" + name;
    EXPECT_EQ(narrowValue(key, "Version"), "1.5.0_06");
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

// A java.exe that hangs is ended after 10 s; nothing is cached and the
// output file is gone.
TEST_F(JavaCheckTest, SlowHangingProbeIsEnded) {
    const std::string exe = makeJavaHome(home("hang"), JavaLayout::Jre, Standin{"java version \"1.5.0_06\"", "hang"});
    std::string version, checked = exe;
    const ULONGLONG started = GetTickCount64();
    EXPECT_FALSE(checkJavaExe(checked, version, "1.5", "", false));
    const ULONGLONG took = GetTickCount64() - started;
    EXPECT_GE(took, 9900u);
    EXPECT_LT(took, 50000u) << "the stand-in hangs for a minute: it was not ended";
    EXPECT_EQ(newLogLines()[2], "couldn't get version");
    EXPECT_EQ(standinRuns(home("hang") + "\\bin").size(), 1u);
    EXPECT_TRUE(probeLeftovers().empty());
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, cacheKey(checked).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    // The ended process no longer holds its files.
    EXPECT_TRUE(DeleteFileA((home("hang") + "\\bin\\java.exe").c_str()));
}
