// The Linux executable: any x86_64 ELF program serves as a stand-in stub
// here (the test program itself); the launcher's own stub is run by the
// Linux launcher tests.
#include <gtest/gtest.h>

#include <algorithm>

#include "FakeStub.h"
#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "config/ElfImage.h"
#include "generator/Build.h"
#include "generator/ExeWriter.h"
#include "generator/Inspect.h"
#include "generator/StubLocator.h"

using namespace vexal;
using namespace vexal::gen;
using vexal::testing::fakeStub;
using vexal::testing::readFile;
using vexal::testing::TempDir;
using vexal::testing::writeFile;

namespace fs = std::filesystem;

namespace {

std::string elfStub() { return readFile("/proc/self/exe"); }

void writeProject(const fs::path& file, const std::string& extra = "") {
    writeFile(file, "arch = \"linux-x64\"\n" + extra +
                        "[application]\nmain-class = \"com.example.Main\"\nclass-path = ['A1app.jar']\n");
}

}  // namespace

TEST(LinuxBuild, StubFoundInBuildTreeAndInstallRoot) {
    TempDir dir;
    writeFile(dir / "tree" / "linux" / "vexal-stub-linux", elfStub());
    writeFile(dir / "inst" / "linux-x64" / "vexal-stub-linux", elfStub());
    for (const char* root : {"tree", "inst"}) {
        SCOPED_TRACE(root);
        std::vector<fs::path> tried;
        const fs::path stub = findStub({dir / root}, "linux-x64", true, tried);
        EXPECT_EQ(stub.filename(), "vexal-stub-linux");
    }
}

// The note that the Linux executable has no resources comes only when the
// project asks for one of them, and names what is left out.
TEST(LinuxBuild, KeysForWindowsResourcesAreNamedOnce) {
    struct Case {
        const char* name;
        std::string settings;  // before [application]
        const char* named;     // nullptr: no warning
    };
    const std::vector<Case> cases = {
        {"nothing of the kind", "", nullptr},
        {"version record and manifest", "version.company = 'Example'\nmanifest.dpi-awareness = 'unaware'\n",
         "manifest.dpi-awareness, version.company: left out"},
        {"splash screen without a bitmap", "splash.show = true\n", "splash.show: left out"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFile(dir / "stubs" / "linux" / "vexal-stub-linux", elfStub());
        writeProject(dir / "app.toml", c.settings);
        BuildRequest request;
        request.projectFile = dir / "app.toml";
        request.stubRoots = {dir / "stubs"};
        request.overrides = {"runtime.include=false"};
        const BuildResult result = buildExecutable(request);
        if (c.named == nullptr) {
            EXPECT_TRUE(result.warnings.empty()) << c.name << ": " << result.warnings.front();
            continue;
        }
        const auto notes = std::count_if(result.warnings.begin(), result.warnings.end(), [](const std::string& w) {
            return w.find("no icon, manifest or version record") != std::string::npos;
        });
        EXPECT_EQ(notes, 1) << c.name;
        ASSERT_FALSE(result.warnings.empty()) << c.name;
        EXPECT_NE(result.warnings.back().find(c.named), std::string::npos) << c.name << ": " << result.warnings.back();
    }
}

// The block sits where the stub's ELF image ends, the included files behind
// it; inspect reads it back; the output has no ".exe".
TEST(LinuxBuild, BuildsAndInspects) {
    TempDir dir;
    writeFile(dir / "stubs" / "linux" / "vexal-stub-linux", elfStub());
    writeFile(dir / "data.txt", "hello");
    writeProject(dir / "app.toml", "include = ['data.txt']\n");
    BuildRequest request;
    request.projectFile = dir / "app.toml";
    request.stubRoots = {dir / "stubs"};
    request.overrides = {"runtime.include=false"};
    const BuildResult result = buildExecutable(request);
    EXPECT_EQ(result.output.extension(), "");
    EXPECT_TRUE(result.warnings.empty()) << result.warnings.front();

    const std::string exe = readFile(result.output);
    const std::string stub = elfStub();
    ASSERT_GT(exe.size(), stub.size());
    EXPECT_EQ(exe.compare(0, stub.size(), stub), 0);
    Inspection inspection;
    std::string reason;
    ASSERT_TRUE(inspectExecutable(exe, inspection, reason)) << reason;
    EXPECT_TRUE(inspection.elf);
    EXPECT_EQ(inspection.blockStart, stub.size());
    EXPECT_EQ(inspection.store.narrow(122), "com.example.Main");
    ASSERT_EQ(inspection.includes.size(), 1u);
    EXPECT_EQ(inspection.includes[0].size, 5);
    EXPECT_NE(inspectionText(inspection, "app").find("linux-x64 (ELF)"), std::string::npos);
    EXPECT_NE(inspectionJson(inspection, "app").find("\"architecture\": \"linux-x64\""), std::string::npos);
}

// The project's Windows-style paths reach the Linux launcher with "/";
// other texts keep their backslashes, and a Windows build keeps them all.
TEST(LinuxBuild, PathsUseSlashes) {
    TempDir dir;
    writeFile(dir / "stubs" / "linux" / "vexal-stub-linux", elfStub());
    writeFile(dir / "app.toml",
              "arch = \"linux-x64\"\n[application]\nmain-class = \"com.example.Main\"\n"
              "class-path = ['A1lib\\app.jar', 'D0classes\\']\nworking-directory = '.\\work'\n"
              "arguments = ['a\\b']\n[java]\nsearch-sequence = ['B.\\jre', 'EJAVA_HOME']\n");
    BuildRequest request;
    request.projectFile = dir / "app.toml";
    request.stubRoots = {dir / "stubs"};
    request.overrides = {"runtime.include=false"};
    const BuildResult result = buildExecutable(request);
    Inspection inspection;
    std::string reason;
    ASSERT_TRUE(inspectExecutable(readFile(result.output), inspection, reason)) << reason;
    EXPECT_EQ(inspection.store.narrow(id::ClassPath), "A1lib/app.jar;D0classes/;");
    EXPECT_EQ(inspection.store.narrow(id::SearchSequence), "B./jre;EJAVA_HOME;");
    EXPECT_EQ(inspection.store.narrow(id::WorkingDirectory), "./work");
    EXPECT_NE(inspection.store.narrow(id::ProgramArguments).find("a\\b"), std::string::npos);
}

TEST(LinuxBuild, RefusesUnfitStubsAndSigning) {
    const ConfigStore store;
    struct Row {
        const char* name;
        std::string stub;
        const char* message;
    } rows[] = {
        {"PE stub", fakeStub(0x8664, 2), "not a readable 64-bit ELF image"},
        {"bytes behind the image", elfStub() + "tail", "4 bytes behind its ELF image"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            composeExecutable(row.stub, "stub", "linux-x64", store, {});
            ADD_FAILURE() << "accepted";
        } catch (const BuildError& e) {
            EXPECT_NE(std::string(e.what()).find(row.message), std::string::npos) << e.what();
        }
    }
    std::string other = elfStub();
    other[18] = 183;  // aarch64
    EXPECT_THROW(composeExecutable(other, "stub", "linux-x64", store, {}), BuildError);

    TempDir dir;
    writeFile(dir / "stubs" / "linux" / "vexal-stub-linux", elfStub());
    writeFile(dir / "cert.p12", "x");
    writeProject(dir / "app.toml", "[signing]\npkcs12 = 'cert.p12'\n");
    BuildRequest request;
    request.projectFile = dir / "app.toml";
    request.stubRoots = {dir / "stubs"};
    try {
        buildExecutable(request);
        ADD_FAILURE() << "signed";
    } catch (const BuildError& e) {
        EXPECT_NE(std::string(e.what()).find("cannot be signed"), std::string::npos) << e.what();
    }
}
