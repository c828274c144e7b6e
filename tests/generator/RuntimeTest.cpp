// The launcher's Java runtime in generated executables: vexal-runtime.jar as
// an included file, and kvlruntime.jar laid out for installer-kind launchers.
#include <gtest/gtest.h>

#include <functional>

#include "FakeStub.h"
#include "config/ConfigBlock.h"
#include "generator/ExeWriter.h"
#include "generator/Build.h"
#include "generator/StubLocator.h"

using namespace vexal;
using namespace vexal::gen;
using vexal::testing::fakeStub;
using vexal::testing::readFile;
using vexal::testing::TempDir;
using vexal::testing::writeFile;

namespace fs = std::filesystem;

namespace {

const std::string kRuntimeBytes = std::string("PK\x03\x04 runtime", 12);
const std::string kInstallerBytes = std::string("PK\x03\x04 kvl", 8);
const std::string kOwnRuntimeBytes = std::string("PK\x03\x04 own", 8);

struct Included {
    std::string names;               // entry 2003
    std::vector<std::string> files;  // the data of each included file, in order
};

// The included-file entries and data of an executable.
Included includedIn(const fs::path& exe) {
    const std::string bytes = readFile(exe);
    ConfigStore store;
    MemorySource source(bytes);
    BlockReadResult read = readConfigBlock(source, kPe32PlusLocator, store);
    EXPECT_EQ(read.error, BlockError::None);
    Included included{store.narrow(2003), {}};
    source.seek(read.blockEnd);
    std::int32_t size = 0;
    while (readInt(source, size) && size > 0) {
        std::string data(static_cast<std::size_t>(size), '\0');
        source.read(&data[0], data.size());
        for (char& c : data) c = static_cast<char>(c ^ kIncludeMask);
        included.files.push_back(data);
    }
    EXPECT_EQ(std::to_string(included.files.size()), store.narrow(2002));
    return included;
}

bool hasWarning(const BuildResult& result, const std::string& part) {
    for (const auto& warning : result.warnings) {
        if (warning.find(part) != std::string::npos) return true;
    }
    return false;
}

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A build tree: stubs under win64/stubs, the runtime under runtime/.
        writeFile(dir / "build/win64/stubs" / stubFileName(false), fakeStub(0x8664, 3));
        writeFile(dir / "build/runtime/vexal-runtime.jar", kRuntimeBytes);
        writeFile(dir / "build/runtime/kvlruntime.jar", kInstallerBytes);
        writeFile(dir / "app/hello.jar", "PK hello");
        writeFile(dir / "app/own/Vexal-Runtime.jar", kOwnRuntimeBytes);
    }

    BuildResult build(const std::string& extra, std::vector<std::string> overrides = {},
                      const std::string& output = "out/bin/app.exe") {
        writeFile(dir / "app/app.toml", extra + "\napplication.main-class = \"Hello\"\napplication.type = \"console\"\n");
        BuildRequest request;
        request.projectFile = dir / "app/app.toml";
        request.output = dir / output;
        request.overrides = std::move(overrides);
        request.stubRoots = {dir / "build"};
        return buildExecutable(request);
    }

    TempDir dir;
};

}  // namespace

TEST_F(RuntimeTest, TheRuntimeJarIsIncludedUnlessTheProjectSaysOtherwise) {
    struct Case {
        const char* name;
        std::string project;
        std::vector<std::string> overrides;
        std::function<void()> prepare;
        std::string names;
        std::vector<std::string> files;
        const char* warning;  // nullptr: none
    };
    const std::vector<Case> cases = {
        {"by default, behind the project's files", "include = [\"hello.jar\"]", {}, [] {},
         "hello.jar;vexal-runtime.jar", {"PK hello", kRuntimeBytes}, nullptr},
        {"also without files of the project's own", "", {}, [] {}, "vexal-runtime.jar", {kRuntimeBytes}, nullptr},
        {"not when turned off", "include = [\"hello.jar\"]\nruntime.include = false", {}, [] {}, "hello.jar",
         {"PK hello"}, nullptr},
        {"not when turned off from the command line", "include = [\"hello.jar\"]", {"runtime.include=false"}, [] {},
         "hello.jar", {"PK hello"}, nullptr},
        {"the project's own file of that name wins", "include = [\"own/Vexal-Runtime.jar\"]", {}, [] {},
         "Vexal-Runtime.jar", {kOwnRuntimeBytes}, nullptr},
        {"missing: built without it, with a warning", "include = [\"hello.jar\"]", {},
         [&] { fs::remove(dir / "build/runtime/vexal-runtime.jar"); }, "hello.jar", {"PK hello"},
         "runtime.include: no vexal-runtime.jar beside the stubs"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        BuildResult result = build(c.project, c.overrides);
        Included included = includedIn(result.output);
        EXPECT_EQ(included.names, c.names);
        EXPECT_EQ(included.files, c.files);
        EXPECT_EQ(result.warnings.empty(), c.warning == nullptr);
        if (c.warning) EXPECT_TRUE(hasWarning(result, c.warning));
        EXPECT_TRUE(result.installerRuntime.empty());
    }
}

TEST_F(RuntimeTest, AnInstalledGeneratorFindsTheRuntimeBesideItsStubs) {
    TempDir prefix;
    writeFile(prefix / "share/vexal/stubs/x64" / stubFileName(false), fakeStub(0x8664, 3));
    writeFile(prefix / "share/vexal/runtime/vexal-runtime.jar", kRuntimeBytes);
    std::vector<fs::path> tried;
    EXPECT_EQ(findRuntimeFile(stubRoots("", "", prefix / "bin/vexal"), "vexal-runtime.jar", tried),
              prefix / "share/vexal/runtime/vexal-runtime.jar");
    tried.clear();
    EXPECT_EQ(findRuntimeFile({dir / "build"}, "vexal-runtime.jar", tried), dir / "build/runtime/vexal-runtime.jar");
    EXPECT_TRUE(findRuntimeFile({prefix / "bin"}, "vexal-runtime.jar", tried).empty());
}

TEST_F(RuntimeTest, InstallerKindLaysOutKvlruntimeUnderTheInstallationRoot) {
    struct Case {
        const char* name;
        std::string project;
        const char* laidOut;  // relative to dir; nullptr: nothing laid out
        const char* warning;
    };
    auto withRoot = [&](const std::string& root) {
        return "application.install-root = '" + root + "'\napplication.launcher-kind = \"k\"";
    };
    const std::vector<Case> cases = {
        {"root \".\": beside the executable", withRoot("."), "out/bin/.korvalith/kvlruntime.jar", nullptr},
        {"root \"..\": one folder up", withRoot(".."), "out/.korvalith/kvlruntime.jar", nullptr},
        {"root with backslashes", withRoot("..\\inst\\"), "out/inst/.korvalith/kvlruntime.jar", nullptr},
        {"absolute root: not laid out", withRoot("C:\\Program Files\\App"), nullptr, "is absolute"},
        {"root of the drive: not laid out", withRoot("\\App"), nullptr, "is absolute"},
        {"kind v: nothing", "application.launcher-kind = \"v\"", nullptr, nullptr},
        {"runtime off: nothing", withRoot(".") + "\nruntime.include = false", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir / "out");
        BuildResult result = build(c.project);
        EXPECT_EQ(result.warnings.empty(), c.warning == nullptr);
        if (c.warning) EXPECT_TRUE(hasWarning(result, c.warning));
        if (!c.laidOut) {
            EXPECT_TRUE(result.installerRuntime.empty());
            EXPECT_FALSE(fs::exists(dir / "out/bin/.korvalith"));
            continue;
        }
        EXPECT_EQ(result.installerRuntime, (dir / c.laidOut).lexically_normal());
        EXPECT_EQ(readFile(dir / c.laidOut), kInstallerBytes);
        EXPECT_EQ(includedIn(result.output).names, "vexal-runtime.jar");
    }
}

TEST_F(RuntimeTest, InstallerKindWithoutKvlruntimeWarnsAndBuilds) {
    fs::remove(dir / "build/runtime/kvlruntime.jar");
    BuildResult result = build("application.launcher-kind = \"k\"");
    EXPECT_TRUE(hasWarning(result, "no kvlruntime.jar beside the stubs"));
    EXPECT_TRUE(fs::exists(result.output));
    EXPECT_TRUE(result.installerRuntime.empty());
}
