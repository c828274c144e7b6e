#include <gtest/gtest.h>
#include <windows.h>

#include "config/ConfigIds.h"
#include "files/PathHelpers.h"
#include "tests/wine/JvmSearchFixture.h"
#include "windows/WinLoader/JvmRegistry.h"
#include "windows/WinLoader/RegistryAccess.h"
#include "windows/WinLoader/SearchSequence.h"

using namespace vexal;
using namespace vexal::wintest;

namespace {

class JvmRegistryTest : public JvmSearchTest {
protected:
    // A JRE home with a stand-in of that version; its absolute java.exe.
    std::string javaHome(const std::string& name, const std::string& version) {
        makeJavaHome(home(name), JavaLayout::Jre, banner(version));
        return absolutePath(home(name) + "\\bin\\java.exe", false);
    }
    void currentVersion(const std::string& key, const std::string& family) {
        setRegistryText(HKEY_LOCAL_MACHINE, key, "CurrentVersion", family);
    }
    void javaSoftHome(const std::string& key, const std::string& family, const std::string& name) {
        setRegistryText(HKEY_LOCAL_MACHINE, key + "\\" + family, "JavaHome", home(name));
    }
    void locate(HKEY root, const std::string& executable) {
        createKey(root, keys_.locatedJvmsKey + encodeJvmKeyName(executable));
    }
    // The executables checkJavaExe was given, in order.
    std::vector<std::string> checkedExecutables() {
        std::vector<std::string> checked;
        const std::string start = "checkJavaExe (";
        for (const std::string& line : newLogLines())
            if (line.compare(0, start.size(), start) == 0)
                checked.push_back(line.substr(start.size(), line.find(", [out]") - start.size()));
        return checked;
    }
};

}  // namespace

// CurrentVersion values fit 100 bytes with their terminator.
TEST_F(JvmRegistryTest, CurrentVersionBuffer) {
    const std::string fits = "1.5" + std::string(96, '0');
    const std::string tooLong = fits + "0";
    std::string text;
    currentVersion(keys_.runtimeKey, fits);
    EXPECT_TRUE(readRegistryText(RegistryRoot::LocalMachine, keys_.runtimeKey, "CurrentVersion", 100, text));
    EXPECT_EQ(text, fits);
    currentVersion(keys_.runtimeKey, tooLong);
    EXPECT_FALSE(readRegistryText(RegistryRoot::LocalMachine, keys_.runtimeKey, "CurrentVersion", 100, text));
    setRegistryText(HKEY_LOCAL_MACHINE, keys_.runtimeKey, "CurrentVersion", tooLong.substr(0, 100), false);
    EXPECT_FALSE(readRegistryText(RegistryRoot::LocalMachine, keys_.runtimeKey, "CurrentVersion", 100, text));
}

TEST_F(JvmRegistryTest, CurrentVersionRoute) {
    struct Row {
        const char* name;
        const char* runtimeFamily;
        const char* kitFamily;
        const char* expectedHome;
    } rows[] = {
        {"runtime newer", "1.5", "1.4", "rt"},  // 1.4 fails the minimum: the runtime's 1.5
        {"equal", "1.5", "1.5", "rt"},
        {"kit newer", "1.5", "1.6", "kit"},
    };
    const std::string runtimeExe = javaHome("rt", "1.5.0_06");
    const std::string kitExe = javaHome("kit", "1.6.0");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        currentVersion(keys_.runtimeKey, row.runtimeFamily);
        currentVersion(keys_.developmentKitKey, row.kitFamily);
        javaSoftHome(keys_.runtimeKey, row.runtimeFamily, "rt");
        javaSoftHome(keys_.developmentKitKey, row.kitFamily, "kit");
        std::string exe, version;
        EXPECT_TRUE(findJavaSoftJvm(exe, version, "1.5", ""));
        EXPECT_EQ(exe, std::string(row.expectedHome) == "rt" ? runtimeExe : kitExe);
        EXPECT_EQ(checkedExecutables().size(), 1u);
    }
}

// Without CurrentVersion the subkeys within the bounds are tried from the
// greatest name down; the JDK key follows when none passes.
TEST_F(JvmRegistryTest, EnumerationRoutes) {
    javaHome("h142", "1.4.2");
    const std::string exe15 = javaHome("h15", "1.5.0");
    javaSoftHome(keys_.runtimeKey, "1.4.2", "h142");
    javaSoftHome(keys_.runtimeKey, "1.5", "h15");
    javaSoftHome(keys_.runtimeKey, "1.5.0_06", "missing");
    std::string exe, version;
    EXPECT_TRUE(findJavaSoftJvm(exe, version, "1.5", ""));
    EXPECT_EQ(exe, exe15);
    EXPECT_EQ(checkedExecutables(),
              (std::vector<std::string>{home("missing") + "\\bin\\java.exe", home("h15") + "\\bin\\java.exe"}));

    // With the minimum 1.5.0_10 the name 1.5.0_06 (update 6) is out of
    // bounds and never tried, the home under 1.5 fails its version, the JDK
    // key's 1.6 passes.
    const std::string kit = javaHome("kit16", "1.6.0");
    javaSoftHome(keys_.developmentKitKey, "1.6", "kit16");
    EXPECT_TRUE(findJavaSoftJvm(exe, version, "1.5.0_10", ""));
    EXPECT_EQ(exe, kit);
    EXPECT_EQ(checkedExecutables(), (std::vector<std::string>{home("h15") + "\\bin\\java.exe",
                                                              home("kit16") + "\\bin\\java.exe"}));
    EXPECT_FALSE(findJavaSoftJvm(exe, version, "1.7", ""));
}

// The greatest version of one root, whatever the registry order.
TEST_F(JvmRegistryTest, LocatedRecordsOfOneRoot) {
    for (const char* first : {"a", "b"}) {
        SCOPED_TRACE(first);
        deleteKeyTree(HKEY_CURRENT_USER, testRoot_ + "\\locatedjvms");
        const std::string older = javaHome(std::string(first) + "06", "1.5.0_06");
        const std::string newer = javaHome(std::string(first[0] == 'a' ? "b" : "a") + "10", "1.5.0_10");
        locate(HKEY_CURRENT_USER, older);
        locate(HKEY_CURRENT_USER, newer);
        std::string exe, version;
        EXPECT_TRUE(findLocatedJvm(exe, version, "1.5", ""));
        EXPECT_EQ(exe, newer);
        EXPECT_EQ(version, "1.5.0_10");
    }
}

// Of equal versions in one root the first in registry order stays.
TEST_F(JvmRegistryTest, LocatedRecordsEqualVersions) {
    const std::string one = javaHome("one", "1.5.0_06");
    const std::string two = javaHome("two", "1.5.0_06");
    locate(HKEY_CURRENT_USER, two);
    locate(HKEY_CURRENT_USER, one);
    std::vector<std::string> order;
    ASSERT_TRUE(listRegistrySubkeys(RegistryRoot::CurrentUser, keys_.locatedJvmsKey, order));
    ASSERT_EQ(order.size(), 2u);
    std::string exe, version;
    EXPECT_TRUE(findLocatedJvm(exe, version, "1.5", ""));
    EXPECT_EQ(exe, decodeJvmKeyName(order[0]));
}

// The per-user record wins only with a strictly greater version.
TEST_F(JvmRegistryTest, LocatedRecordsPerUserAndPerMachine) {
    struct Row {
        const char* user;
        const char* machine;
        bool userWins;
    } rows[] = {
        {"1.5.0_10", "1.5.0_06", true},
        {"1.5.0_06", "1.5.0_06", false},
        {"1.5.0_06", "1.5.0_10", false},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.user) + " / " + row.machine);
        deleteKeyTree(HKEY_CURRENT_USER, testRoot_ + "\\locatedjvms");
        deleteKeyTree(HKEY_LOCAL_MACHINE, testRoot_ + "\\locatedjvms");
        ++n;
        const std::string user = javaHome("user" + std::to_string(n), row.user);
        const std::string machine = javaHome("machine" + std::to_string(n), row.machine);
        locate(HKEY_CURRENT_USER, user);
        locate(HKEY_LOCAL_MACHINE, machine);
        std::string exe, version;
        EXPECT_TRUE(findLocatedJvm(exe, version, "1.5", ""));
        EXPECT_EQ(exe, row.userWins ? user : machine);
    }
}

// JavaSoft against located: the JavaSoft result only when strictly newer.
TEST_F(JvmRegistryTest, RegistryLocationPicksTheBetter) {
    struct Row {
        const char* javaSoft;  // null: none registered
        const char* located;
        const char* winner;  // "javasoft", "located" or null
    } rows[] = {
        {"1.5.0_06", "1.5.0_06", "located"},
        {"1.6.0", "1.5.0_06", "javasoft"},
        {"1.5.0_06", "1.6.0", "located"},
        {"1.5.0_06", nullptr, "javasoft"},
        {nullptr, "1.5.0_06", "located"},
        {nullptr, nullptr, nullptr},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(n);
        ++n;
        deleteKeyTree(HKEY_LOCAL_MACHINE, testRoot_);
        deleteKeyTree(HKEY_CURRENT_USER, testRoot_);
        std::string javaSoftExe, locatedExe;
        if (row.javaSoft) {
            javaSoftExe = javaHome("js" + std::to_string(n), row.javaSoft);
            javaSoftHome(keys_.runtimeKey, "1.5", "js" + std::to_string(n));
        }
        if (row.located) {
            locatedExe = javaHome("lo" + std::to_string(n), row.located);
            locate(HKEY_LOCAL_MACHINE, locatedExe);
        }
        std::string exe;
        EXPECT_EQ(checkJavaRegistry(exe, "1.5", ""), row.winner != nullptr);
        if (row.winner) {
            EXPECT_EQ(exe, std::string(row.winner) == "javasoft" ? javaSoftExe : locatedExe);
        }
    }
}

// JavaSoft entries take a beta only with entry 130; located records always.
TEST_F(JvmRegistryTest, BetaRegistryCandidates) {
    const std::string beta = javaHome("beta", "1.6.0-beta2");
    javaSoftHome(keys_.runtimeKey, "1.6", "beta");
    std::string exe, version;
    EXPECT_FALSE(findJavaSoftJvm(exe, version, "1.5", ""));
    configStore().setNarrow(id::AcceptBeta, "1");
    EXPECT_TRUE(findJavaSoftJvm(exe, version, "1.5", ""));
    configStore().setNarrow(id::AcceptBeta, "0");
    locate(HKEY_CURRENT_USER, beta);
    EXPECT_TRUE(findLocatedJvm(exe, version, "1.5", ""));
    EXPECT_EQ(version, "1.6.0-beta2");
}
