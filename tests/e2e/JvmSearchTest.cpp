// The JVM search of a launcher under Wine: the order of its locations in the
// diagnostic log, the location files, the bundle pass with stand-in runtimes
// (jvm.dll, its companion library, unpack200.exe), the library loading and
// the one message chosen by the location's origin.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

class JvmSearch : public ::testing::Test {
protected:
    ConfigStore store = typicalMessages("2");
    std::vector<std::string> environment;
    Launcher launcher = makeLauncher(StubKind::Gui, std::string());

    fs::path dir() const { return launcher.dir; }

    SearchRun run() { return runSearch(launcher, store, environment); }
};

TEST_F(JvmSearch, SampleSequenceWithoutRuntime) {
    store.setNarrow(id::SearchSequence, "B.\\jre;Y;EJAVA_HOME;EJDK_HOME;");
    store.setNarrow(id::LauncherKind, "k");
    const SearchRun r = run();
    EXPECT_EQ(r.result.exitCode, kExitNoJvm);
    EXPECT_EQ(searchLines(r.log), (Lines{"Searching for a JVM", "Testing location .\\jre (type B)",
                                         "Testing location  (type Y)", "Testing location JAVA_HOME (type E)",
                                         "Testing location JDK_HOME (type E)", "Search sequence finished",
                                         "Testing bundle location .\\jre", "ERROR: No JVM found"}));
    EXPECT_EQ(r.log.front(), "extracting files");
    EXPECT_NE(std::find(r.log.begin(), r.log.end(), "LoadDLL (1, (null), 0)"), r.log.end());
    EXPECT_EQ(count(r.result.err, textMode(store.narrow(msg::NoJvm))), 1) << r.result.err;
}

TEST_F(JvmSearch, UnknownLetterAndEmptySequence) {
    struct Row {
        const char* sequence;
        Lines lines;
    } rows[] = {
        {"Qsomething", {"Searching for a JVM", "Testing location something (type Q)", "Search sequence finished",
                        "ERROR: No JVM found"}},
        {"", {"Searching for a JVM", "Search sequence finished", "ERROR: No JVM found"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sequence);
        store.setNarrow(id::SearchSequence, row.sequence);
        const SearchRun r = run();
        EXPECT_EQ(r.result.exitCode, kExitNoJvm);
        EXPECT_EQ(searchLines(r.log), row.lines);
    }
}

TEST_F(JvmSearch, LocationFiles) {
    store.setNarrow(id::InstallRoot, ".");
    store.setNarrow(id::SearchSequence, "Ac:\\nowhere");
    struct Row {
        const char* name;
        const char* preferred;  // null: no file
        const char* installer;
        Lines lines;
    } rows[] = {
        {"zero-byte files are absent", "", "",
         {"Searching for a JVM", "Testing location c:\\nowhere (type A)", "Search sequence finished",
          "ERROR: No JVM found"}},
        {"CR LF trimmed, a failing preferred location goes on", "c:\\old jre\r\nsecond line\r\n", "inst\\jre\r\n",
         {"Searching for a JVM", "Has preferred location c:\\old jre", "Testing location c:\\nowhere (type A)",
          "Search sequence finished", "Has installer location inst\\jre", "ERROR: No JVM found"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeText(dir() / ".korvalith" / "pref_jre.cfg", row.preferred);
        writeText(dir() / ".korvalith" / "inst_jre.cfg", row.installer);
        const SearchRun r = run();
        EXPECT_EQ(r.result.exitCode, kExitNoJvm);
        EXPECT_EQ(searchLines(r.log), row.lines);
    }
}

// A bundled runtime is taken in the last pass when its java.exe exists; its
// library is then loaded from the variant folders, with the companion library
// found in the runtime's bin folder.
TEST_F(JvmSearch, BundledRuntimeLibraryLoadsAndBinds) {
    const std::string home = windowsPath(launcher.dir) + "\\JRE";
    store.setNarrow(id::SearchSequence, "B" + home);
    makeRuntime(dir() / "JRE", "client");
    const SearchRun r = run();
    const std::string exe = lower(home) + "\\bin\\java.exe";
    const std::string bin = lower(home) + "\\bin\\";
    EXPECT_EQ(searchLines(r.log),
              (Lines{"Searching for a JVM", "Testing location " + home + " (type B)", "Search sequence finished",
                     "Testing bundle location " + home, exe + " exists", "Trying to load JVM-DLL from " + exe,
                     "Loading of JVM-DLL successful"}));
    const Lines trying = {"Trying " + bin + "hotspot\\jvm.dll (exists 0)", "Trying " + bin + "client\\jvm.dll (exists 1)"};
    EXPECT_NE(std::search(r.log.begin(), r.log.end(), trying.begin(), trying.end()), r.log.end());
    EXPECT_NE(r.result.exitCode, kExitNoJvm);
}

// The library of a found runtime fails: the error lines and exactly one
// message, chosen by the origin (a directory here, with the location as
// written), then exit code 83.
TEST_F(JvmSearch, LibraryFailureShowsTheDirectoryMessage) {
    struct Row {
        const char* name;
        const char* variant;
        const char* library;
        Lines errors;
    } rows[] = {
        {"no library", nullptr, nullptr, {"ERROR: Could not get DLL-Handle.", "ERROR: Could not load functions"}},
        {"no entry point", "server", "jvm-standin/jvm-noexport.dll", {"ERROR: Could not load functions"}},
    };
    store.setNarrow(id::SearchSequence, "B.\\rt");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(dir() / "rt");
        if (row.variant) makeRuntime(dir() / "rt", row.variant, row.library);
        else makeRuntime(dir() / "rt");
        const SearchRun r = run();
        EXPECT_EQ(r.result.exitCode, kExitNoJvm);
        Lines errors;
        for (const std::string& line : r.log)
            if (line.rfind("ERROR: ", 0) == 0) errors.push_back(line);
        EXPECT_EQ(errors, row.errors);
        std::string expected = store.narrow(msg::DirJvmDamaged);
        expected.replace(expected.find("%DEFINED_PATH%"), 14, ".\\rt");
        EXPECT_EQ(count(r.result.err, textMode(expected)), 1) << r.result.err;
        EXPECT_EQ(count(r.result.err, textMode("\n\nLog: ")), 1) << r.result.err;
    }
}

// The ..\jre\bin alternative beside a JDK's own bin folder, with its
// unnormalised path in the log; entry 152 goes first in each folder.
TEST_F(JvmSearch, JdkLibraryThroughTheAlternative) {
    store.setNarrow(id::SearchSequence, "B" + windowsPath(launcher.dir) + "\\jdk");
    store.setNarrow(id::PreferredVariant, "server");
    writeText(dir() / "jdk" / "bin" / "java.exe", "");
    makeRuntime(dir() / "jdk" / "jre", "server");
    fs::remove(dir() / "jdk" / "jre" / "bin" / "java.exe");
    const SearchRun r = run();
    const std::string bin = lower(windowsPath(launcher.dir)) + "\\jdk\\bin\\";
    Lines expected;
    for (const char* variant : {"server", "hotspot", "client", "server", "classic"})
        expected.push_back("Trying " + bin + variant + "\\jvm.dll (exists 0)");
    expected.push_back("Trying " + bin + "..\\jre\\bin\\server\\jvm.dll (exists 1)");
    expected.push_back("Loading of JVM-DLL successful");
    Lines seen;
    for (const std::string& line : r.log)
        if (line.rfind("Trying ", 0) == 0 && line.rfind("Trying to load", 0) != 0) seen.push_back(line);
        else if (line.rfind("Loading of", 0) == 0) seen.push_back(line);
    EXPECT_EQ(seen, expected);
}

// A 32-bit runtime met first, bundled or found in the main pass, is passed
// over with one log line, and the 64-bit one behind it loads; before, the
// search took the first and ended with "damaged".
TEST_F(JvmSearch, RuntimeOfAnotherMachineIsPassedOver) {
    struct Row {
        const char* name;
        bool probed;  // stand-in java.exe that passes the main pass, or an empty file
    } rows[] = {{"bundle pass", false}, {"main pass", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(dir() / "jre32");
        fs::remove_all(dir() / "jre64");
        if (row.probed) {
            makeJavaHome((dir() / "jre32").string(), JavaLayout::Jre, standinVersion("1.5.0_06"));
            makeJavaHome((dir() / "jre64").string(), JavaLayout::Jre, standinVersion("1.5.0_06"));
            addJvmLibrary(dir() / "jre32" / "bin", "client", "jvm-standin-i686/jvm.dll");
            addJvmLibrary(dir() / "jre64" / "bin", "server");
        } else {
            makeRuntime(dir() / "jre32", "client", "jvm-standin-i686/jvm.dll");
            makeRuntime(dir() / "jre64", "server");
        }
        const std::string home32 = windowsPath(launcher.dir) + "\\jre32";
        const std::string home64 = windowsPath(launcher.dir) + "\\jre64";
        store.setNarrow(id::SearchSequence, "B" + home32 + ";B" + home64);
        store.setNarrow(id::MinVersion, "1.5");
        const SearchRun r = run();
        const std::string refused = lower(home32) + "\\bin\\client\\jvm.dll is not a 64-bit runtime";
        EXPECT_EQ(std::count(r.log.begin(), r.log.end(), refused), row.probed ? 1 : 2);
        EXPECT_TRUE(contains(r.log, "Trying to load JVM-DLL from " + lower(home64) + "\\bin\\java.exe"));
        EXPECT_TRUE(contains(r.log, "Loading of JVM-DLL successful"));
        EXPECT_FALSE(contains(r.log, "ERROR: Could not get DLL-Handle."));
        EXPECT_EQ(count(r.result.err, "damaged"), 0) << r.result.err;
        EXPECT_TRUE(standinRuns((dir() / "jre32" / "bin").string()).empty());
    }
}

// Where a library loaded by name after the JVM library comes from, as the
// runtime's own later loads see it: never the current directory, the
// launcher's folder or PATH; the runtime's bin folder, the folders of entry
// 10004 and System32 are searched.
TEST_F(JvmSearch, LaterLoadsSearchOnlySystemTheRuntimeAndThePrefixedFolders) {
    const fs::path jre = dir() / "jre";
    makeRuntime(jre, "client", "jvm-standin/jvm-loadprobe.dll");
    const std::string companion = fixture("jvm-standin/jvmcompanion.dll");
    copyInto(companion, dir() / "work" / "incwd.dll");
    copyInto(companion, dir() / "inappdir.dll");
    copyInto(companion, dir() / "onpath" / "onpath.dll");
    copyInto(companion, jre / "bin" / "inbin.dll");
    copyInto(companion, dir() / "prefixed" / "prefixed.dll");
    writeText(jre / "bin" / "client" / "loadprobe.txt",
              "incwd.dll\ninappdir.dll\nonpath.dll\ninbin.dll\nprefixed.dll\nversion.dll\n");
    const std::string home = windowsPath(launcher.dir);
    store.setNarrow(id::SearchSequence, "B" + home + "\\jre");
    store.setNarrow(id::WorkingDirectory, home + "\\work");
    store.setNarrow(id::PathPrefix, home + "\\prefixed");
    environment.push_back("PATH=" + home + "\\onpath;C:\\windows\\system32;C:\\windows");
    const SearchRun r = run();
    EXPECT_TRUE(contains(r.log, "Loading of JVM-DLL successful"));
    Lines loads = crlfLines(readBinaryFile((jre / "bin" / "client" / "loads.txt").string()));
    for (std::string& line : loads) line = lower(line);
    EXPECT_EQ(loads, (Lines{"incwd.dll none", "inappdir.dll none", "onpath.dll none",
                            "inbin.dll " + lower(home) + "\\jre\\bin\\inbin.dll",
                            "prefixed.dll " + lower(home) + "\\prefixed\\prefixed.dll",
                            "version.dll c:\\windows\\system32\\version.dll"}));
}

const char* const kArchives[] = {"lib\\rt.jar",     "lib\\charsets.jar",         "lib\\plugin.jar",
                                 "lib\\deploy.jar", "lib\\ext\\localedata.jar", "lib\\jsse.jar"};

void makePackedRuntime(const fs::path& home, bool withTool) {
    makeRuntime(home);
    for (const char* archive : kArchives) {
        std::string relative = archive;
        for (char& c : relative) c = c == '\\' ? '/' : c;
        writeText(home / (relative + ".pack"), archive);
    }
    if (withTool) copyInto(fixture("unpack200-standin/unpack200.exe"), home / "bin" / "unpack200.exe");
}

// A bundled packed runtime is restored once, archive by archive in order,
// before its executable is looked at; a second start leaves it alone.
TEST_F(JvmSearch, PackedBundleIsRestoredOnce) {
    const std::string home = windowsPath(launcher.dir) + "\\packed";
    store.setNarrow(id::SearchSequence, "B" + home);
    makePackedRuntime(dir() / "packed", true);
    const SearchRun first = run();
    Lines runs;
    for (const char* archive : kArchives) {
        const std::string path = lower(home) + "\\" + archive;
        runs.push_back("-r " + path + ".pack " + path);
    }
    EXPECT_EQ(crlfLines(readBinaryFile((dir() / "packed" / "bin" / "unpack200.log").string())), runs);
    EXPECT_EQ(std::count(first.log.begin(), first.log.end(), "Unpacking JRE"), 1);
    EXPECT_EQ(std::count(first.log.begin(), first.log.end(), "Unpacking JRE done"), 1);
    EXPECT_TRUE(fs::exists(dir() / "packed" / "lib" / "jsse.jar"));

    const SearchRun second = run();
    EXPECT_EQ(std::count(second.log.begin(), second.log.end(), "Unpacking JRE"), 0);
    EXPECT_EQ(crlfLines(readBinaryFile((dir() / "packed" / "bin" / "unpack200.log").string())).size(), 6u);
}

TEST_F(JvmSearch, MissingUnpackToolEndsWithCode20) {
    store.setNarrow(id::SearchSequence, "Bpacked");
    makePackedRuntime(dir() / "packed", false);
    const SearchRun r = run();
    EXPECT_EQ(r.result.exitCode, 1);
    EXPECT_EQ(count(r.result.err, textMode("An internal error occurred (error code: 20)")), 1) << r.result.err;
    EXPECT_EQ(r.log.back(), "could not create unpack process");
}

}  // namespace
}  // namespace vexal::testing
