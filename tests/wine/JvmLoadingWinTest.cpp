// The JVM library beside a Java executable and the restoring of a packed
// runtime, against runtimes built from the stand-in fixtures in the Wine file
// system, with the diagnostic log switched on so that every attempt is seen.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "config/TestSeams.h"
#include "windows/JavaVMLauncher/JvmEntry.h"
#include "windows/WinLoader/JvmLibrary.h"
#include "windows/WinLoader/PackedJre.h"
#include "tests/wine/WinScratch.h"

using namespace vexal;
using vexal::testing::ScratchDir;
using vexal::testing::writeFile;
using Lines = std::vector<std::string>;

namespace {

std::string fixturesDir() {
    char module[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
    std::string path(module, n);
    return path.substr(0, path.rfind('\\') + 1) + "..\\..\\fixtures\\";
}

void copyFixture(const std::string& relative, const std::string& to) {
    ASSERT_TRUE(CopyFileA((fixturesDir() + relative).c_str(), to.c_str(), FALSE)) << relative << " -> " << to;
}

void makeDirs(const std::string& path) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

Lines splitLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The diagnostic log of this process, on for one test, written into its
// scratch directory; lines() gives what was logged after the header line.
class LogCapture {
public:
    explicit LogCapture(const std::string& dir) {
        char tmp[MAX_PATH];
        const DWORD n = GetEnvironmentVariableA("TMP", tmp, sizeof tmp);
        savedTmp_.assign(tmp, n < sizeof tmp ? n : 0);
        SetEnvironmentVariableA("TMP", dir.c_str());
        SetEnvironmentVariableA("VEXAL_LOG", "yes");
        resetLogForTests();
    }
    ~LogCapture() {
        resetLogForTests();
        SetEnvironmentVariableA("VEXAL_LOG", nullptr);
        SetEnvironmentVariableA("TMP", savedTmp_.empty() ? nullptr : savedTmp_.c_str());
    }
    Lines lines() const {
        const char* name = logFileName();
        if (name == nullptr) return {};
        Lines all = splitLines(readText(name));
        // The header line ends with the time text's own line end: one line
        // and an empty one.
        all.erase(all.begin(), all.begin() + std::min<std::size_t>(2, all.size()));
        return all;
    }

private:
    std::string savedTmp_;
};

// A runtime folder in the scratch directory: bin\java.exe (never run here),
// the companion library in bin when wanted, and jvm.dll in chosen variants.
struct Runtime {
    std::string home;
    std::string bin() const { return home + "\\bin\\"; }
    std::string exe() const { return bin() + "java.exe"; }
};

Runtime makeRuntime(const std::string& home, const std::vector<std::string>& variants, bool companion = true,
                    const char* library = "jvm-standin\\jvm.dll") {
    Runtime runtime{home};
    makeDirs(home + "\\bin");
    writeFile(runtime.exe(), "");
    if (companion) copyFixture("jvm-standin\\jvmcompanion.dll", runtime.bin() + "jvmcompanion.dll");
    for (const std::string& variant : variants) {
        makeDirs(runtime.bin() + variant);
        copyFixture(library, runtime.bin() + variant + "\\jvm.dll");
    }
    return runtime;
}

Lines tryingLines(const std::string& directory, const std::vector<std::string>& variants, int existing) {
    Lines lines;
    for (std::size_t i = 0; i < variants.size(); ++i)
        lines.push_back("Trying " + directory + variants[i] + "\\jvm.dll (exists " +
                        (static_cast<int>(i) == existing ? "1" : "0") + ")");
    return lines;
}

class JvmLibraryLoading : public ::testing::Test {
protected:
    ScratchDir scratch{"vxl-jvmload-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())};
    void TearDown() override { configStore().clear(); }
    static void release(LibraryRef library) {
        if (library) FreeLibrary(static_cast<HMODULE>(library));
    }
};

TEST_F(JvmLibraryLoading, VariantOrderAndTheFirstThatLoads) {
    struct Row {
        const char* preferred;
        const char* installed;
        std::vector<std::string> tried;
    } rows[] = {
        {"", "hotspot", {"hotspot"}},
        {"", "classic", {"hotspot", "client", "server", "classic"}},
        {"server", "server", {"server"}},
        {"server", "classic", {"server", "hotspot", "client", "server", "classic"}},
        {"minimal", "client", {"minimal", "hotspot", "client"}},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.preferred) + "/" + row.installed);
        const Runtime runtime = makeRuntime(scratch.path() + "\\rt" + std::to_string(++n), {row.installed});
        configStore().setNarrow(id::PreferredVariant, row.preferred);
        LibraryRef library;
        Lines lines;
        {
            LogCapture log(scratch.path());
            library = loadJvmLibrary(runtime.exe());
            lines = log.lines();
        }
        EXPECT_NE(library, nullptr);
        EXPECT_EQ(lines, tryingLines(runtime.bin(), row.tried, static_cast<int>(row.tried.size()) - 1));
        release(library);
    }
}

TEST_F(JvmLibraryLoading, JdkRuntimeThroughTheUnnormalisedAlternative) {
    const std::string jdk = scratch.path() + "\\jdk";
    makeDirs(jdk + "\\bin");
    writeFile(jdk + "\\bin\\javaw.exe", "");
    makeRuntime(jdk + "\\jre", {"server"});
    LibraryRef library;
    Lines lines;
    {
        LogCapture log(scratch.path());
        library = loadJvmLibrary(jdk + "\\bin\\javaw.exe");
        lines = log.lines();
    }
    ASSERT_NE(library, nullptr);
    const std::vector<std::string> all = {"hotspot", "client", "server", "classic"};
    Lines expected = tryingLines(jdk + "\\bin\\", all, -1);
    const Lines alternative = tryingLines(jdk + "\\bin\\..\\jre\\bin\\", {"hotspot", "client", "server"}, 2);
    expected.insert(expected.end(), alternative.begin(), alternative.end());
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(bindCreateJavaVm(library));
    release(library);
}

TEST_F(JvmLibraryLoading, NothingLoadsAfterEightAttempts) {
    const Runtime runtime = makeRuntime(scratch.path() + "\\empty", {});
    Lines lines;
    {
        LogCapture log(scratch.path());
        EXPECT_EQ(loadJvmLibrary(runtime.exe()), nullptr);
        lines = log.lines();
    }
    EXPECT_EQ(lines.size(), 8u);
    EXPECT_FALSE(bindCreateJavaVm(nullptr));
}

// The stand-in jvm.dll needs jvmcompanion.dll, which lies only in the
// runtime's bin folder: it loads because that folder is searched, and its
// entry point runs with the companion bound.
TEST_F(JvmLibraryLoading, DependenciesAreFoundInTheBinFolder) {
    const Runtime runtime = makeRuntime(scratch.path() + "\\rt", {"client"});
    LibraryRef library = loadJvmLibrary(runtime.exe());
    ASSERT_NE(library, nullptr);
    setJvmEntryPoint(nullptr);
    ASSERT_TRUE(bindCreateJavaVm(library));
    using CreateJavaVm = int(__stdcall*)(void**, void**, void*);
    auto create = reinterpret_cast<CreateJavaVm>(jvmEntryPoint());
    ASSERT_NE(create, nullptr);
    void* vm = nullptr;
    void* env = nullptr;
    EXPECT_EQ(create(&vm, &env, nullptr), -1);
    EXPECT_EQ(readText(runtime.bin() + "client\\jvm-called.txt"), "JNI_CreateJavaVM 42\r\n");
    release(library);

    // Without the companion the same library cannot load at all: the folder
    // search above is what made it work.
    const Runtime bare = makeRuntime(scratch.path() + "\\bare", {"client"}, false);
    EXPECT_EQ(loadJvmLibrary(bare.exe()), nullptr);
}

TEST_F(JvmLibraryLoading, LibraryWithoutTheEntryPointIsNotBound) {
    const Runtime runtime = makeRuntime(scratch.path() + "\\rt", {"hotspot"}, false, "jvm-standin\\jvm-noexport.dll");
    LibraryRef library = loadJvmLibrary(runtime.exe());
    ASSERT_NE(library, nullptr);
    setJvmEntryPoint(nullptr);
    EXPECT_FALSE(bindCreateJavaVm(library));
    EXPECT_EQ(jvmEntryPoint(), nullptr);
    release(library);
}

// Packed runtimes: the stand-in unpack200.exe restores each archive and logs
// its arguments, one line a run.
class PackedRuntime : public ::testing::Test {
protected:
    ScratchDir scratch{"vxl-packed-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())};
    std::string home = scratch.path() + "\\jre";
    void SetUp() override {
        makeDirs(home + "\\bin");
        makeDirs(home + "\\lib\\ext");
        copyFixture("unpack200-standin\\unpack200.exe", home + "\\bin\\unpack200.exe");
    }
    Lines toolRuns() const { return splitLines(readText(home + "\\bin\\unpack200.log")); }
    Lines prepare() {
        LogCapture log(scratch.path());
        prepareJre(home);
        return log.lines();
    }
};

const std::vector<std::string> kArchives = {"lib\\rt.jar",     "lib\\charsets.jar",         "lib\\plugin.jar",
                                            "lib\\deploy.jar", "lib\\ext\\localedata.jar", "lib\\jsse.jar"};

TEST_F(PackedRuntime, AllSixArchivesInOrder) {
    for (const std::string& archive : kArchives) writeFile(home + "\\" + archive + ".pack", archive);
    const Lines lines = prepare();
    Lines expectedLog = {"Unpacking JRE"};
    Lines expectedRuns;
    for (const std::string& archive : kArchives) {
        const std::string path = home + "\\" + archive;
        expectedLog.push_back("Unpacking " + path + ".pack to " + path);
        expectedLog.push_back("waiting for unpack200 to finish");
        expectedLog.push_back("unpack done");
        expectedRuns.push_back("-r " + path + ".pack " + path);
        EXPECT_EQ(readText(path), archive);
        EXPECT_FALSE(exists(path + ".pack"));
    }
    expectedLog.push_back("Unpacking JRE done");
    EXPECT_EQ(lines, expectedLog);
    EXPECT_EQ(toolRuns(), expectedRuns);
}

TEST_F(PackedRuntime, MissingPackedArchivesAreSkipped) {
    writeFile(home + "\\lib\\rt.jar.pack", "rt");
    writeFile(home + "\\lib\\jsse.jar.pack", "jsse");
    const Lines lines = prepare();
    int skipped = 0;
    for (const std::string& line : lines) skipped += line == "pack path doesn't exists";
    EXPECT_EQ(skipped, 4);
    EXPECT_EQ(toolRuns(), (Lines{"-r " + home + "\\lib\\rt.jar.pack " + home + "\\lib\\rt.jar",
                                 "-r " + home + "\\lib\\jsse.jar.pack " + home + "\\lib\\jsse.jar"}));
}

// A runtime under a folder with a blank runs its own tool with every path as
// one argument, never "<scratch>\a.exe", which an unquoted command line would
// start first with the rest as its arguments.
TEST_F(PackedRuntime, RuntimeUnderAFolderWithABlankRunsItsOwnTool) {
    const std::string blank = scratch.path() + "\\a b";
    makeDirs(blank + "\\bin");
    makeDirs(blank + "\\lib");
    copyFixture("unpack200-standin\\unpack200.exe", blank + "\\bin\\unpack200.exe");
    copyFixture("unpack200-standin\\unpack200.exe", scratch.path() + "\\a.exe");
    writeFile(blank + "\\lib\\rt.jar.pack", "rt");
    {
        LogCapture log(scratch.path());
        prepareJre(blank);
    }
    const std::string archive = blank + "\\lib\\rt.jar";
    EXPECT_EQ(splitLines(readText(blank + "\\bin\\unpack200.log")), (Lines{"-r " + archive + ".pack " + archive}));
    EXPECT_EQ(readText(archive), "rt");  // four arguments exactly, or the tool copies nothing
    EXPECT_FALSE(exists(scratch.path() + "\\unpack200.log")) << "the planted a.exe ran";
}

TEST_F(PackedRuntime, UnpackedOrRestoredRuntimeIsLeftAlone) {
    struct Row {
        const char* name;
        std::vector<std::string> files;
    } rows[] = {
        {"not packed", {"lib\\charsets.jar.pack"}},
        {"restored", {"lib\\rt.jar.pack", "lib\\jsse.jar"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const std::string& file : row.files) writeFile(home + "\\" + file, "x");
        EXPECT_EQ(prepare(), Lines{});
        EXPECT_FALSE(exists(home + "\\bin\\unpack200.log"));
        for (const std::string& file : row.files) DeleteFileA((home + "\\" + file).c_str());
    }
}

}  // namespace
