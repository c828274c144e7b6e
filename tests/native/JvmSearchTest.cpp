#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "config/ConfigIds.h"
#include "windows/WinLoader/JavaHomeLayout.h"
#include "windows/WinLoader/JvmLibraryLogic.h"
#include "windows/WinLoader/JvmSearch.h"
#include "windows/WinLoader/PackedJreLogic.h"
#include "windows/WinLoader/SearchSequence.h"

namespace vexal {
namespace {

using Trace = std::vector<std::string>;

// Location tests that pass what the case says and record every call and log
// line in one trace, so the order of both can be asserted.
class FakeTests : public JvmLocationTests {
public:
    std::map<std::string, std::string> files;  // suffix -> first line
    std::set<std::string> passingHomes;        // pass with the version test
    std::set<std::string> existingHomes;       // java.exe exists (bundle pass)
    std::set<std::string> foreignHomes;        // built for another machine
    std::set<std::string> passingVariables;
    bool pathPasses = false;
    bool registryPasses = false;
    Trace trace;

    void debug(const std::string& line) override { trace.push_back(line); }
    bool readJreConfigFile(std::string& line, const char* suffix) override {
        auto it = files.find(suffix);
        if (it == files.end()) return false;
        line = it->second;
        return true;
    }
    bool checkJavaHome(std::string& exe, const std::string& directory, bool skip) override {
        trace.push_back("[home " + directory + (skip ? " skip]" : "]"));
        exe = directory + "\\bin\\java.exe";
        if (skip) return foreignHomes.count(directory) == 0;
        return passingHomes.count(directory) != 0;
    }
    bool checkJavaEnvVar(std::string& exe, const std::string& variable) override {
        trace.push_back("[env " + variable + "]");
        exe = "c:\\" + variable + "\\bin\\java.exe";
        return passingVariables.count(variable) != 0;
    }
    bool checkJavaOnPath(std::string& exe) override {
        trace.push_back("[path]");
        exe = "c:\\onpath\\java.exe";
        return pathPasses;
    }
    bool checkJavaRegistry(std::string& exe) override {
        trace.push_back("[registry]");
        exe = "c:\\registry\\bin\\java.exe";
        return registryPasses;
    }
    bool pathExists(const std::string& path) override {
        for (const auto& home : existingHomes)
            if (path == home + "\\bin\\java.exe") return true;
        return false;
    }
};

struct SearchCase {
    const char* name;
    std::string sequence;
    char kind;
    void (*arrange)(FakeTests&);
    JvmOrigin origin;
    std::string detail;
    std::string executable;
    Trace trace;
};

void nothing(FakeTests&) {}

const SearchCase kCases[] = {
    {"SampleSequenceWithoutRuntime", "B.\\jre;Y;EJAVA_HOME;EJDK_HOME;", 'k', nothing, JvmOrigin::None, "", "",
     {"Searching for a JVM", "Testing location .\\jre (type B)", "[home .\\jre]", "Testing location  (type Y)",
      "[registry]", "Testing location JAVA_HOME (type E)", "[env JAVA_HOME]", "Testing location JDK_HOME (type E)",
      "[env JDK_HOME]", "Search sequence finished", "[env KORVALITH_JAVA_HOME]", "Testing bundle location .\\jre",
      "[home .\\jre skip]"}},
    {"EmptySequenceGoesToTheFallbacks", "", 'v', nothing, JvmOrigin::None, "", "",
     {"Searching for a JVM", "Search sequence finished", "[env VEXAL_JAVA_HOME]"}},
    {"UnknownKindTriesNoProductVariable", ";;", 'x', nothing, JvmOrigin::None, "", "",
     {"Searching for a JVM", "Search sequence finished"}},
    {"LetterQIsLoggedAndSkipped", "Qwhatever;Ac:\\a", 0,
     [](FakeTests& t) { t.passingHomes = {"c:\\a"}; }, JvmOrigin::Directory, "c:\\a", "c:\\a\\bin\\java.exe",
     {"Searching for a JVM", "Testing location whatever (type Q)", "Testing location c:\\a (type A)",
      "[home c:\\a]"}},
    {"LowerCaseLetterIsNotALocation", "ac:\\a", 0, [](FakeTests& t) { t.passingHomes = {"c:\\a"}; },
     JvmOrigin::None, "", "", {"Searching for a JVM", "Testing location c:\\a (type a)", "Search sequence finished"}},
    {"RPassesAsDirectory", "Rrel\\jdk", 0, [](FakeTests& t) { t.passingHomes = {"rel\\jdk"}; },
     JvmOrigin::Directory, "rel\\jdk", "rel\\jdk\\bin\\java.exe",
     {"Searching for a JVM", "Testing location rel\\jdk (type R)", "[home rel\\jdk]"}},
    {"EPassesWithTheVariableName", "EMY_JAVA", 0, [](FakeTests& t) { t.passingVariables = {"MY_JAVA"}; },
     JvmOrigin::EnvironmentVariable, "MY_JAVA", "c:\\MY_JAVA\\bin\\java.exe",
     {"Searching for a JVM", "Testing location MY_JAVA (type E)", "[env MY_JAVA]"}},
    {"SPassesWithItsArgument", "S", 0, [](FakeTests& t) { t.pathPasses = true; }, JvmOrigin::SearchPath, "",
     "c:\\onpath\\java.exe", {"Searching for a JVM", "Testing location  (type S)", "[path]"}},
    {"YPassesWithoutDetail", "Y", 0, [](FakeTests& t) { t.registryPasses = true; }, JvmOrigin::Registry, "",
     "c:\\registry\\bin\\java.exe", {"Searching for a JVM", "Testing location  (type Y)", "[registry]"}},
    {"FirstPassingLocationWins", "Ac:\\x;Ac:\\y;Ac:\\z", 0,
     [](FakeTests& t) { t.passingHomes = {"c:\\y", "c:\\z"}; }, JvmOrigin::Directory, "c:\\y",
     "c:\\y\\bin\\java.exe",
     {"Searching for a JVM", "Testing location c:\\x (type A)", "[home c:\\x]", "Testing location c:\\y (type A)",
      "[home c:\\y]"}},
    {"PreferredLocationFirst", "Ac:\\a", 0,
     [](FakeTests& t) {
         t.files[kPreferredLocationFile] = "c:\\pref";
         t.passingHomes = {"c:\\pref", "c:\\a"};
     },
     JvmOrigin::Directory, "c:\\pref", "c:\\pref\\bin\\java.exe",
     {"Searching for a JVM", "Has preferred location c:\\pref", "[home c:\\pref]", "Using preferred location"}},
    {"FailingPreferredLocationDoesNotStopTheSearch", "Ac:\\a", 0,
     [](FakeTests& t) {
         t.files[kPreferredLocationFile] = "c:\\old";
         t.passingHomes = {"c:\\a"};
     },
     JvmOrigin::Directory, "c:\\a", "c:\\a\\bin\\java.exe",
     {"Searching for a JVM", "Has preferred location c:\\old", "[home c:\\old]", "Testing location c:\\a (type A)",
      "[home c:\\a]"}},
    {"ProductVariableBeforeInstallerLocation", "", 'v',
     [](FakeTests& t) {
         t.passingVariables = {"VEXAL_JAVA_HOME"};
         t.files[kInstallerLocationFile] = "c:\\inst";
         t.passingHomes = {"c:\\inst"};
     },
     JvmOrigin::EnvironmentVariable, "VEXAL_JAVA_HOME", "c:\\VEXAL_JAVA_HOME\\bin\\java.exe",
     {"Searching for a JVM", "Search sequence finished", "[env VEXAL_JAVA_HOME]"}},
    {"InstallerLocationAfterTheProductVariable", "", 'k',
     [](FakeTests& t) {
         t.files[kInstallerLocationFile] = "c:\\inst";
         t.passingHomes = {"c:\\inst"};
     },
     JvmOrigin::Directory, "c:\\inst", "c:\\inst\\bin\\java.exe",
     {"Searching for a JVM", "Search sequence finished", "[env KORVALITH_JAVA_HOME]", "Has installer location c:\\inst",
      "[home c:\\inst]", "Using installer location"}},
    {"TooOldBundleTakenInTheLastResortPass", "Ac:\\a;B.\\old;B.\\jre", 0,
     [](FakeTests& t) {
         t.files[kInstallerLocationFile] = "c:\\inst";
         t.existingHomes = {".\\jre"};
     },
     JvmOrigin::Directory, ".\\jre", ".\\jre\\bin\\java.exe",
     {"Searching for a JVM", "Testing location c:\\a (type A)", "[home c:\\a]", "Testing location .\\old (type B)",
      "[home .\\old]", "Testing location .\\jre (type B)", "[home .\\jre]", "Search sequence finished",
      "Has installer location c:\\inst", "[home c:\\inst]", "Testing bundle location .\\old", "[home .\\old skip]",
      "Testing bundle location .\\jre", "[home .\\jre skip]", ".\\jre\\bin\\java.exe exists"}},
    // A bundled runtime of another machine is passed over in the last pass
    // too, although its java.exe exists: the next bundle is taken.
    {"ForeignBundlePassedOverInTheLastResortPass", "B.\\jre32;B.\\jre64", 0,
     [](FakeTests& t) {
         t.existingHomes = {".\\jre32", ".\\jre64"};
         t.foreignHomes = {".\\jre32"};
     },
     JvmOrigin::Directory, ".\\jre64", ".\\jre64\\bin\\java.exe",
     {"Searching for a JVM", "Testing location .\\jre32 (type B)", "[home .\\jre32]",
      "Testing location .\\jre64 (type B)", "[home .\\jre64]", "Search sequence finished",
      "Testing bundle location .\\jre32", "[home .\\jre32 skip]", "Testing bundle location .\\jre64",
      "[home .\\jre64 skip]", ".\\jre64\\bin\\java.exe exists"}},
};

class JvmSearchCases : public ::testing::TestWithParam<SearchCase> {};

TEST_P(JvmSearchCases, WalksTheLocationsInOrder) {
    const SearchCase& c = GetParam();
    FakeTests tests;
    c.arrange(tests);
    std::string executable, detail;
    const JvmOrigin origin = runJvmSearch({c.sequence, c.kind}, tests, executable, detail);
    EXPECT_EQ(origin, c.origin);
    EXPECT_EQ(tests.trace, c.trace);
    if (c.origin != JvmOrigin::None) {
        EXPECT_EQ(detail, c.detail);
        EXPECT_EQ(executable, c.executable);
    }
}

INSTANTIATE_TEST_SUITE_P(Search, JvmSearchCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JvmFailureMessage, OneMessageByOrigin) {
    struct Row {
        JvmOrigin origin;
        std::int32_t id;
        const char* placeholder;
        std::string value;
    } rows[] = {
        {JvmOrigin::SearchPath, msg::PathJvmDamaged, nullptr, ""},
        {JvmOrigin::EnvironmentVariable, msg::EnvJvmBroken, placeholder::EnvVarName, "detail"},
        {JvmOrigin::Directory, msg::DirJvmDamaged, placeholder::DefinedPath, "detail"},
        {JvmOrigin::Registry, msg::JvmNotStarted, nullptr, ""},
    };
    for (const Row& row : rows) {
        const JvmFailureMessage message = jvmFailureMessage(row.origin, "detail");
        EXPECT_EQ(message.id, row.id);
        EXPECT_STREQ(message.placeholder, row.placeholder);
        EXPECT_EQ(message.value, row.value);
    }
}

TEST(JvmLibraryLogic, VariantsPathsAndTheUnnormalisedAlternative) {
    using V = std::vector<std::string>;
    EXPECT_EQ(jvmVariantOrder(""), (V{"hotspot", "client", "server", "classic"}));
    EXPECT_EQ(jvmVariantOrder("server"), (V{"server", "hotspot", "client", "server", "classic"}));
    EXPECT_EQ(jvmVariantPaths("c:\\jre\\bin\\", "client", kWindowsPathStyle), V{"c:\\jre\\bin\\client\\jvm.dll"});
    EXPECT_EQ(alternativeJavaExecutable("c:\\jdk\\bin\\java.exe", kWindowsPathStyle),
              "c:\\jdk\\bin\\..\\jre\\bin\\java.exe");
    EXPECT_EQ(alternativeJavaExecutable("c:\\jdk\\bin\\javaw.exe", kWindowsPathStyle),
              "c:\\jdk\\bin\\..\\jre\\bin\\java.exe");
}

TEST(PackedJreLogic, MarkersArchivesAndCommand) {
    const struct {
        const PathStyle& style;
        const char* home;
        const char* packed;
        const char* restored;
        const char* first;
        std::vector<std::string> arguments;
    } rows[] = {
        {kWindowsPathStyle, "c:\\my jre", "c:\\my jre\\lib\\rt.jar.pack", "c:\\my jre\\lib\\jsse.jar", "lib\\rt.jar",
         {"c:\\my jre\\bin\\unpack200.exe", "-r", "c:\\my jre\\lib\\rt.jar.pack", "c:\\my jre\\lib\\rt.jar"}},
        {kLinuxPathStyle, "/opt/jre", "/opt/jre/lib/rt.jar.pack", "/opt/jre/lib/jsse.jar", "lib/rt.jar",
         {"/opt/jre/bin/unpack200", "-r", "/opt/jre/lib/rt.jar.pack", "/opt/jre/lib/rt.jar"}},
        // Blanks and shell characters stay inside their one argument each.
        {kLinuxPathStyle, "/opt/a b/jre$(id>poc)", "/opt/a b/jre$(id>poc)/lib/rt.jar.pack",
         "/opt/a b/jre$(id>poc)/lib/jsse.jar", "lib/rt.jar",
         {"/opt/a b/jre$(id>poc)/bin/unpack200", "-r", "/opt/a b/jre$(id>poc)/lib/rt.jar.pack",
          "/opt/a b/jre$(id>poc)/lib/rt.jar"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.home);
        EXPECT_EQ(packedMarkerPath(row.home, row.style), row.packed);
        EXPECT_EQ(restoredMarkerPath(row.home, row.style), row.restored);
        const std::vector<std::string> archives = packedArchives(row.style);
        ASSERT_EQ(archives.size(), 6u);
        EXPECT_EQ(archives.front(), row.first);
        EXPECT_EQ(archives[4], styledPath("lib\\ext\\localedata.jar", row.style));
        const std::string home = row.home;
        EXPECT_EQ(unpackArguments(home, row.packed, home + row.style.dir + row.first, row.style), row.arguments);
    }
    EXPECT_TRUE(needsUnpacking(true, false));
    EXPECT_FALSE(needsUnpacking(true, true));
    EXPECT_FALSE(needsUnpacking(false, false));
}

// Every library that the loader tries, in its order: what the architecture
// check reads before the loader gets there.
TEST(JvmLibraryLogic, CandidatesInTheLoadersOrder) {
    using V = std::vector<std::string>;
    EXPECT_EQ(jvmLibraryCandidates("c:\\jdk\\bin\\javaw.exe", "server", kWindowsPathStyle),
              (V{"c:\\jdk\\bin\\server\\jvm.dll", "c:\\jdk\\bin\\hotspot\\jvm.dll", "c:\\jdk\\bin\\client\\jvm.dll",
                 "c:\\jdk\\bin\\server\\jvm.dll", "c:\\jdk\\bin\\classic\\jvm.dll",
                 "c:\\jdk\\bin\\..\\jre\\bin\\server\\jvm.dll", "c:\\jdk\\bin\\..\\jre\\bin\\hotspot\\jvm.dll",
                 "c:\\jdk\\bin\\..\\jre\\bin\\client\\jvm.dll", "c:\\jdk\\bin\\..\\jre\\bin\\server\\jvm.dll",
                 "c:\\jdk\\bin\\..\\jre\\bin\\classic\\jvm.dll"}));
    const V linux = jvmLibraryCandidates("/opt/jdk/bin/java", "", kLinuxPathStyle);
    ASSERT_EQ(linux.size(), 16u);
    EXPECT_EQ(linux[0], "/opt/jdk/lib/hotspot/libjvm.so");
    EXPECT_EQ(linux[1], "/opt/jdk/lib/amd64/hotspot/libjvm.so");
    EXPECT_EQ(linux[4], "/opt/jdk/lib/server/libjvm.so");
    EXPECT_EQ(linux[8], "/opt/jdk/bin/../jre/lib/hotspot/libjvm.so");
}

TEST(JvmLibraryLogic, LinuxHomesWithTheJava8Layout) {
    using V = std::vector<std::string>;
    const struct {
        const char* directory;
        const char* variant;
        V paths;
    } rows[] = {
        {"/usr/lib/jvm/jdk-17/bin/", "server",
         {"/usr/lib/jvm/jdk-17/lib/server/libjvm.so", "/usr/lib/jvm/jdk-17/lib/amd64/server/libjvm.so"}},
        {"/opt/jre8/bin/", "client", {"/opt/jre8/lib/client/libjvm.so", "/opt/jre8/lib/amd64/client/libjvm.so"}},
        // A JDK 8's own runtime reached through the alternative executable.
        {"/jdk8/bin/../jre/bin/", "server",
         {"/jdk8/bin/../jre/lib/server/libjvm.so", "/jdk8/bin/../jre/lib/amd64/server/libjvm.so"}},
        // Not a bin folder, or a folder whose name merely ends in "bin".
        {"/opt/tools/", "server", {"/opt/tools/../lib/server/libjvm.so", "/opt/tools/../lib/amd64/server/libjvm.so"}},
        {"/opt/mybin/", "server", {"/opt/mybin/../lib/server/libjvm.so", "/opt/mybin/../lib/amd64/server/libjvm.so"}},
        {"bin/", "server", {"lib/server/libjvm.so", "lib/amd64/server/libjvm.so"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.directory);
        EXPECT_EQ(jvmVariantPaths(row.directory, row.variant, kLinuxPathStyle), row.paths);
    }
    EXPECT_EQ(alternativeJavaExecutable("/jdk8/bin/java", kLinuxPathStyle), "/jdk8/bin/../jre/bin/java");
}

TEST(JavaHomeLayout, ExecutablesOfAHomeByPlatform) {
    const struct {
        const PathStyle& style;
        const char* home;
        const char* jdk;
        const char* plain;
        const char* gui;
        const char* fileName;
    } rows[] = {
        {kWindowsPathStyle, "c:\\jdk", "c:\\jdk\\jre\\bin\\java.exe", "c:\\jdk\\bin\\java.exe",
         "c:\\jdk\\bin\\javaw.exe", "java.exe"},
        {kLinuxPathStyle, "/usr/lib/jvm/jdk", "/usr/lib/jvm/jdk/jre/bin/java", "/usr/lib/jvm/jdk/bin/java",
         "/usr/lib/jvm/jdk/bin/java", "java"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.home);
        EXPECT_EQ(jdkJavaExecutable(row.home, row.style), row.jdk);
        EXPECT_EQ(homeJavaExecutable(row.home, row.style), row.plain);
        EXPECT_EQ(guiJavaExecutable(row.plain, row.style), row.gui);
        EXPECT_EQ(javaExecutableFileName(row.style), row.fileName);
    }
    // Only a final ".exe" turns into "w.exe".
    EXPECT_EQ(guiJavaExecutable("c:\\a.exe\\java", kWindowsPathStyle), "c:\\a.exe\\java");
}

}  // namespace
}  // namespace vexal
