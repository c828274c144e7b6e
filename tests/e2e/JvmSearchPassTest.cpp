// The JVM search passing with stand-in runtimes (java.exe probed for its
// version, jvm.dll bound): each kind of location, the message chosen by the
// origin when the library then fails, the product variable, the version
// bounds and the beta rule, javaw.exe, and the version cache across starts.
// A passing search goes on into the launch, which still ends with message
// 1005 and exit code 1 there.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/ConfigIds.h"
#include "tests/e2e/Launchers.h"
#include "tests/e2e/SearchRuns.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/JavaHomes.h"

namespace vexal::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kExitLaunchFailed = 1;
constexpr const char* kNoExport = "jvm-standin/jvm-noexport.dll";

// A JRE layout from the stand-ins with a JVM library in bin\client; returns
// the path that the search logs for its java.exe (absolute, lower case).
std::string makeHome(const fs::path& home, const StandinJava& standin = {}, bool withJavaw = false,
                     const char* library = "jvm-standin/jvm.dll") {
    makeJavaHome(home.string(), JavaLayout::Jre, standin, withJavaw);
    addJvmLibrary(home / "bin", "client", library);
    return lower(windowsPath(home.string())) + "\\bin\\java.exe";
}

std::string message(const ConfigStore& store, std::int32_t id, const char* placeholder = nullptr,
                    const std::string& value = std::string()) {
    std::string text = store.narrow(id);
    if (placeholder != nullptr) text.replace(text.find(placeholder), std::string(placeholder).size(), value);
    return textMode(text);
}

class JvmSearchPass : public ::testing::Test {
protected:
    ConfigStore store = typicalMessages("2");
    std::vector<std::string> environment;
    Launcher launcher = makeLauncher(StubKind::Gui, std::string());

    JvmSearchPass() { store.setNarrow(id::MinVersion, "1.5"); }
    fs::path dir() const { return launcher.dir; }
    SearchRun run(bool watchBoxes = false) { return runSearch(launcher, store, environment, watchBoxes); }

    // The java.exe whose library the search went on to load.
    static std::string loadedFrom(const SearchRun& r) {
        const std::string head = "Trying to load JVM-DLL from ";
        for (const std::string& line : r.log)
            if (line.rfind(head, 0) == 0) return line.substr(head.size());
        return std::string();
    }

    // The library of the found runtime loaded and bound; the launch then
    // fails with exactly one message, 1005.
    void expectLoadedThenLaunchFails(const SearchRun& r, const std::string& javaExecutable) {
        EXPECT_EQ(loadedFrom(r), javaExecutable) << ::testing::PrintToString(r.log);
        EXPECT_TRUE(contains(r.log, "Loading of JVM-DLL successful"));
        EXPECT_EQ(r.result.exitCode, kExitLaunchFailed);
        EXPECT_EQ(count(r.result.err, message(store, msg::JvmNotStarted)), 1) << r.result.err;
        EXPECT_EQ(count(r.result.err, textMode("\n\nLog: ")), 1) << r.result.err;
    }

    // The search found a runtime whose library failed: exactly one message,
    // the expected one, and exit code 83.
    void expectOneMessage(const SearchRun& r, const std::string& expected) {
        EXPECT_EQ(r.result.exitCode, kExitNoJvm);
        EXPECT_FALSE(contains(r.log, "Loading of JVM-DLL successful"));
        EXPECT_EQ(count(r.result.err, expected), 1) << r.result.err;
        EXPECT_EQ(count(r.result.err, textMode("\n\nLog: ")), 1) << r.result.err;
    }
};

// Each letter of the main pass finds a runtime; with a library that lacks
// JNI_CreateJavaVM the same location shows the message of its origin.
TEST_F(JvmSearchPass, EachLetterFindsTheRuntimeAndFailsWithItsOwnMessage) {
    const std::string abs = windowsPath(launcher.dir);
    struct Row {
        const char* name;
        std::string sequence;
        const char* home;  // relative to the launcher's directory
        std::vector<std::string> environment;
        std::int32_t failure;
        const char* placeholder;
        std::string value;
    } rows[] = {
        {"A", "A" + abs + "\\Home A", "Home A", {}, msg::DirJvmDamaged, placeholder::DefinedPath, abs + "\\Home A"},
        // Relative to the launcher's directory as the launcher knows it: in
        // its short form.
        {"B", "Qx;B.\\jre", "jre", {}, msg::DirJvmDamaged, placeholder::DefinedPath, ".\\jre"},
        {"R", "R" + abs + "\\r", "r", {}, msg::DirJvmDamaged, placeholder::DefinedPath, abs + "\\r"},
        {"E", "EUNSET_HOME;EAPP_JAVA", "e", {"APP_JAVA=" + abs + "\\e"}, msg::EnvJvmBroken, placeholder::EnvVarName,
         "APP_JAVA"},
        {"S", "S", "s", {"PATH=" + abs + "\\s\\bin;C:\\windows\\system32;C:\\windows"}, msg::PathJvmDamaged, nullptr,
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        environment = row.environment;
        store.setNarrow(id::SearchSequence, row.sequence);
        std::string exe = makeHome(dir() / row.home);
        const SearchRun found = run();
        if (row.sequence.find(".\\") != std::string::npos) {
            const std::string tail = std::string("\\") + row.home + "\\bin\\java.exe";
            exe = loadedFrom(found);
            ASSERT_GT(exe.size(), tail.size());
            EXPECT_EQ(exe.substr(exe.size() - tail.size()), tail);
            EXPECT_EQ(exe.rfind("z:\\", 0), 0u) << exe;
        }
        expectLoadedThenLaunchFails(found, exe);

        addJvmLibrary(dir() / row.home / "bin", "client", kNoExport);
        const SearchRun failed = run();
        EXPECT_EQ(loadedFrom(failed), exe);
        EXPECT_TRUE(contains(failed.log, "ERROR: Could not load functions"));
        expectOneMessage(failed, message(store, row.failure, row.placeholder, row.value));
    }
}

// After the sequence the product variable of the launcher kind is tried:
// VEXAL_JAVA_HOME for 'v', KORVALITH_JAVA_HOME for 'k', neither otherwise.
// Their runtimes' libraries fail, so the message names the variable.
TEST_F(JvmSearchPass, ProductVariableByLauncherKind) {
    store.setNarrow(id::SearchSequence, "");
    const std::string vexalExe = makeHome(dir() / "vexal", {}, false, kNoExport);
    const std::string korvalithExe = makeHome(dir() / "korvalith", {}, false, kNoExport);
    environment = {"VEXAL_JAVA_HOME=" + windowsPath(launcher.dir + "/vexal"),
                   "KORVALITH_JAVA_HOME=" + windowsPath(launcher.dir + "/korvalith")};
    struct Row {
        const char* kind;
        std::string javaExecutable;  // empty: none tried
        const char* variable;
    } rows[] = {{"v", vexalExe, "VEXAL_JAVA_HOME"}, {"k", korvalithExe, "KORVALITH_JAVA_HOME"}, {"x", "", nullptr}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        store.setNarrow(id::LauncherKind, row.kind);
        const SearchRun r = run();
        Lines tried;
        for (const std::string& line : r.log)
            if (line.rfind("Trying to load JVM-DLL from ", 0) == 0) tried.push_back(line.substr(28));
        if (row.variable == nullptr) {
            EXPECT_TRUE(tried.empty());
            for (const std::string& line : r.log) EXPECT_NE(line.rfind("checkJavaExe (", 0), 0u) << line;
            expectOneMessage(r, message(store, msg::NoJvm));
        } else {
            EXPECT_EQ(tried, Lines{row.javaExecutable});
            expectOneMessage(r, message(store, msg::EnvJvmBroken, placeholder::EnvVarName, row.variable));
        }
    }
}

// A bundled runtime below the minimum fails the main pass and is taken by
// the last-resort pass, which tests only that its java.exe exists.
TEST_F(JvmSearchPass, TooOldBundleIsTakenInTheLastResortPass) {
    const std::string home = windowsPath(launcher.dir) + "\\Bundle";
    store.setNarrow(id::SearchSequence, "B" + home);
    const std::string exe = makeHome(dir() / "Bundle", standinVersion("1.4.2_19"));
    const SearchRun r = run();
    EXPECT_EQ(searchLines(r.log),
              (Lines{"Searching for a JVM", "Testing location " + home + " (type B)", "Search sequence finished",
                     "Testing bundle location " + home, exe + " exists", "Trying to load JVM-DLL from " + exe,
                     "Loading of JVM-DLL successful"}));
    EXPECT_TRUE(contains(r.log, "got version from execution 1.4.2_19"));
    EXPECT_TRUE(contains(r.log, "checkJavaExe returning 0"));
    expectLoadedThenLaunchFails(r, exe);
}

// A preferred location that fails the version test leaves the search to the
// sequence.
TEST_F(JvmSearchPass, FailingPreferredLocationGoesOnToTheSequence) {
    store.setNarrow(id::InstallRoot, ".");
    const std::string good = windowsPath(launcher.dir) + "\\good";
    store.setNarrow(id::SearchSequence, "A" + good);
    makeHome(dir() / "old", standinVersion("1.4.2"));
    const std::string exe = makeHome(dir() / "good");
    writeText(dir() / ".korvalith" / "pref_jre.cfg", "old\r\n");
    const SearchRun r = run();
    EXPECT_EQ(searchLines(r.log),
              (Lines{"Searching for a JVM", "Has preferred location old", "Testing location " + good + " (type A)",
                     "Trying to load JVM-DLL from " + exe, "Loading of JVM-DLL successful"}));
    EXPECT_TRUE(contains(r.log, "got version from execution 1.4.2"));
    expectLoadedThenLaunchFails(r, exe);
}

// Version bounds and the beta rule through the whole search: a directory
// location accepts a beta version whatever entry 130 says, an environment
// variable only with entry 130 = 1; an OpenJDK banner gives its version.
TEST_F(JvmSearchPass, VersionBoundsAndBeta) {
    struct Row {
        const char* name;
        char letter;  // A: a directory, E: the variable HOME_<name>
        const char* banner;
        const char* acceptBeta;
        const char* minimum;
        const char* maximum;
        const char* version;  // as the log reports it
        bool passes;
    } rows[] = {
        {"env_beta_0", 'E', "java version \"1.6.0-beta2\"", "0", "1.5", "", "1.6.0-beta2", false},
        {"env_beta_1", 'E', "java version \"1.6.0-beta2\"", "1", "1.5", "", "1.6.0-beta2", true},
        {"dir_beta_0", 'A', "java version \"1.6.0-beta2\"", "0", "1.5", "", "1.6.0-beta2", true},
        {"dir_beta_1", 'A', "java version \"1.6.0-beta2\"", "1", "1.5", "", "1.6.0-beta2", true},
        {"within_min", 'A', "java version \"1.5.0_06\"", "0", "1.5", "", "1.5.0_06", true},
        {"below_min", 'A', "java version \"1.5\"", "0", "1.5.0", "", "1.5", false},
        {"above_max", 'A', "java version \"1.6.0\"", "0", "1.5", "1.5", "1.6.0", false},
        {"openjdk", 'E', "openjdk version \"17.0.15\" 2025-04-15", "0", "1.5", "", "17.0.15", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // A home of its own per row: the version cache keeps each java.exe's version.
        const std::string exe = makeHome(dir() / row.name, {row.banner, "0"});
        const std::string home = windowsPath(launcher.dir + "/" + row.name);
        environment.clear();
        if (row.letter == 'E') {
            store.setNarrow(id::SearchSequence, std::string("EHOME_") + row.name);
            environment.push_back(std::string("HOME_") + row.name + "=" + home);
        } else {
            store.setNarrow(id::SearchSequence, "A" + home);
        }
        store.setNarrow(id::AcceptBeta, row.acceptBeta);
        store.setNarrow(id::MinVersion, row.minimum);
        store.setNarrow(id::MaxVersion, row.maximum);
        const SearchRun r = run();
        EXPECT_TRUE(contains(r.log, std::string("got version from execution ") + row.version))
            << ::testing::PrintToString(r.log);
        EXPECT_TRUE(contains(r.log, std::string("checkJavaExe returning ") + (row.passes ? "1" : "0")));
        if (row.passes) {
            expectLoadedThenLaunchFails(r, exe);
        } else {
            expectOneMessage(r, message(store, msg::NoJvm));
        }
    }
}

// With entry 107 = 1 the accepted executable is javaw.exe beside java.exe;
// a runtime without it is rejected although its version is in range.
// Executable type 1 shows its messages in boxes.
TEST_F(JvmSearchPass, JavawForGuiApplications) {
    store.setNarrow(id::ExecutableType, "1");
    for (const bool withJavaw : {true, false}) {
        SCOPED_TRACE(withJavaw ? "with javaw.exe" : "without javaw.exe");
        const fs::path home = dir() / (withJavaw ? "with" : "without");
        const std::string exe = makeHome(home, {}, withJavaw);
        store.setNarrow(id::SearchSequence, "A" + windowsPath(home.string()));
        const SearchRun r = run(true);
        const std::vector<Box> boxes = reportedBoxes(r.result.out);
        ASSERT_EQ(boxes.size(), 1u) << r.result.out;
        EXPECT_TRUE(contains(r.log, "got version from execution 1.5.0_06"));
        if (withJavaw) {
            const std::string javaw = exe.substr(0, exe.size() - 4) + "w.exe";
            EXPECT_TRUE(contains(r.log, "Trying to load JVM-DLL from " + javaw)) << ::testing::PrintToString(r.log);
            EXPECT_TRUE(contains(r.log, "Loading of JVM-DLL successful"));
            EXPECT_EQ(r.result.exitCode, kExitLaunchFailed);
            EXPECT_EQ(boxes[0].text.rfind(store.narrow(msg::JvmNotStarted), 0), 0u) << boxes[0].text;
        } else {
            EXPECT_EQ(r.result.exitCode, kExitNoJvm);
            EXPECT_TRUE(contains(r.log, "ERROR: No JVM found"));
            EXPECT_EQ(boxes[0].text.rfind(store.narrow(msg::NoJvm), 0), 0u) << boxes[0].text;
        }
    }
}

// The version found by the first start is cached: the second start takes it
// from the registry and runs no probe.
TEST_F(JvmSearchPass, SecondStartTakesTheCachedVersion) {
    const std::string exe = makeHome(dir() / "cached");
    store.setNarrow(id::SearchSequence, "A" + windowsPath(launcher.dir + "/cached"));
    const SearchRun first = run();
    EXPECT_TRUE(contains(first.log, "got version from execution 1.5.0_06"));
    expectLoadedThenLaunchFails(first, exe);
    const Lines probes = standinRuns((dir() / "cached" / "bin").string());
    ASSERT_EQ(probes.size(), 1u);

    const SearchRun second = run();
    EXPECT_TRUE(contains(second.log, "got version from registry 1.5.0_06")) << ::testing::PrintToString(second.log);
    for (const std::string& line : second.log) EXPECT_EQ(line.find("got version from execution"), std::string::npos);
    EXPECT_EQ(standinRuns((dir() / "cached" / "bin").string()), probes);
    expectLoadedThenLaunchFails(second, exe);
}

// Registry entries that a test writes, deleted again when it ends.
class RegistryEntries {
public:
    RegistryEntries() = default;
    RegistryEntries(const RegistryEntries&) = delete;
    RegistryEntries& operator=(const RegistryEntries&) = delete;
    ~RegistryEntries() {
        for (const std::string& key : keys_) wineRun({"reg", "delete", key, "/f"});
    }
    // Sets a string value (or only creates the key, for an empty name); the
    // key is deleted at the end, with everything below it.
    void set(const std::string& key, const std::string& name = "", const std::string& data = "") {
        std::vector<std::string> args{"reg", "add", key};
        if (!name.empty()) args.insert(args.end(), {"/v", name, "/d", data});
        args.push_back("/f");
        const ProcessResult added = wineRun(args);
        ASSERT_EQ(added.exitCode, 0) << key << ": " << added.out << added.err;
        keys_.push_back(key);
    }

private:
    std::vector<std::string> keys_;
};

constexpr const char* kRuntimeKey = "HKLM\\SOFTWARE\\JavaSoft\\Java Runtime Environment";
constexpr const char* kLocatedKey = "HKCU\\SOFTWARE\\tarnwellsoft\\vexal\\locatedjvms\\";

std::string encodedKeyName(std::string path) {
    for (char& c : path) c = c == '\\' ? '/' : c;
    return path;
}

// The registry location (letter Y) through the JavaSoft keys and through a
// located record, and the message of its origin when the library fails.
// These tests write the real keys, so they run in a session where no other
// test's launcher searches the registry meanwhile (see CMakeLists.txt).
using JvmRegistrySearch = JvmSearchPass;

TEST_F(JvmRegistrySearch, RegistryLocationFindsTheRuntime) {
    struct Row {
        const char* name;
        bool located;  // a located record instead of the JavaSoft keys
        bool library;
    } rows[] = {{"javasoft", false, true}, {"located", true, true}, {"javasoft_without_library", false, false}};
    store.setNarrow(id::SearchSequence, "EUNSET_HOME;Y");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path home = dir() / row.name;
        const std::string exe = makeHome(home);
        if (!row.library) fs::remove_all(home / "bin" / "client");
        RegistryEntries entries;
        if (row.located) {
            entries.set(kLocatedKey + encodedKeyName(exe));
        } else {
            entries.set(kRuntimeKey, "CurrentVersion", "1.5");
            entries.set(std::string(kRuntimeKey) + "\\1.5", "JavaHome", windowsPath(home.string()));
        }
        const SearchRun r = run();
        EXPECT_TRUE(contains(r.log, "Testing location  (type Y)")) << ::testing::PrintToString(r.log);
        if (row.library) {
            expectLoadedThenLaunchFails(r, exe);
        } else {
            EXPECT_TRUE(contains(r.log, "Trying to load JVM-DLL from " + exe)) << ::testing::PrintToString(r.log);
            EXPECT_TRUE(contains(r.log, "ERROR: Could not get DLL-Handle."));
            expectOneMessage(r, message(store, msg::JvmNotStarted));
        }
    }
}

}  // namespace
}  // namespace vexal::testing
