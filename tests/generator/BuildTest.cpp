#include <gtest/gtest.h>

#include <tuple>

#include "FakeStub.h"
#include "common/Sha256.h"
#include "config/ConfigBlock.h"
#include "generator/Build.h"
#include "generator/ExeWriter.h"
#include "generator/PeImage.h"
#include "generator/PeResources.h"
#include "generator/ProjectFile.h"
#include "generator/StubLocator.h"

using namespace vexal;
using namespace vexal::gen;
using vexal::testing::fakeStub;
using vexal::testing::readFile;
using vexal::testing::TempDir;
using vexal::testing::writeFile;

namespace fs = std::filesystem;

namespace {

constexpr std::uint16_t kGui = 2, kConsole = 3;

// A stub root with x64/ and x86/ fake stubs of both subsystems.
void writeStubs(const fs::path& root) {
    for (auto [arch, machine] : {std::pair<const char*, std::uint16_t>{"x64", 0x8664}, {"x86", 0x14C}}) {
        writeFile(root / arch / stubFileName(true), fakeStub(machine, kGui));
        writeFile(root / arch / stubFileName(false), fakeStub(machine, kConsole));
    }
}

// The executable is the stub of that machine and subsystem with the
// project's resources in its last section.
void expectStubWithResources(const std::string& exe, std::uint16_t machine, std::uint16_t subsystem,
                             const Project& project) {
    PeInfo pe;
    std::string reason;
    ASSERT_TRUE(readPeInfo(exe, pe, reason)) << reason;
    EXPECT_EQ(pe.machine, machine);
    EXPECT_EQ(pe.subsystem, subsystem);
    ResourceTree tree;
    ASSERT_TRUE(readResources(exe, tree, reason)) << reason;
    ResourceRequest request = project.resources;
    for (auto& [name, value] : request.version.strings) {
        if (name == "OriginalFilename" && value.empty()) value = "out.exe";
    }
    EXPECT_TRUE(tree == buildResourceTree(request));
}

class BuildTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeStubs(dir.path() / "stubs");
        writeFile(dir / "hello.jar", std::string("PK\x03\x04 jar bytes \x5A\xA5", 18));
        writeFile(dir / "empty.txt", "");
    }

    BuildResult build(const std::string& project, const std::string& output = "out.exe",
                      std::vector<std::string> overrides = {}) {
        writeFile(dir / "app.toml", project);
        BuildRequest request;
        request.projectFile = dir / "app.toml";
        request.output = output.empty() ? fs::path() : dir / output;
        request.overrides = std::move(overrides);
        request.stubRoots = {dir / "stubs"};
        return buildExecutable(request);
    }

    TempDir dir;
    const std::string project = R"(
include = ["hello.jar", "empty.txt"]
[application]
main-class = "Hello"
class-path = ["A1hello.jar"]
type = "console"
[entries]
1012 = "extra"
[wide-entries]
3 = "wide"
)";
};

}  // namespace

TEST_F(BuildTest, TheBlockReadsBackAsTheProjectsEntriesFollowedByTheIncludedFiles) {
    BuildResult result = build(project);
    EXPECT_EQ(result.stub, dir / "stubs/x64" / stubFileName(false));
    const std::string exe = readFile(dir / "out.exe");
    expectStubWithResources(exe, 0x8664, kConsole, readProject(dir / "app.toml"));
    EXPECT_EQ(result.size, exe.size());

    ConfigStore store;
    MemorySource source(exe);
    BlockReadResult read = readConfigBlock(source, kPe32PlusLocator, store);
    ASSERT_EQ(read.error, BlockError::None);
    Project expected = readProject(dir / "app.toml");
    EXPECT_EQ(store.narrowEntries(), expected.store.narrowEntries());
    EXPECT_EQ(store.wideEntries(), expected.store.wideEntries());
    EXPECT_EQ(store.narrow(2002), "2");
    EXPECT_EQ(store.narrow(2003), "hello.jar;empty.txt");
    EXPECT_EQ(store.narrow(1012), "extra");
    EXPECT_EQ(store.wide(3), u"wide");

    // Records: size, then the data XORed with the mask; nothing after them.
    source.seek(read.blockEnd);
    std::int32_t size = 0;
    ASSERT_TRUE(readInt(source, size));
    std::string jar = readFile(dir / "hello.jar");
    ASSERT_EQ(static_cast<std::size_t>(size), jar.size());
    std::string data(jar.size(), '\0');
    source.read(&data[0], data.size());
    for (char& c : data) c = static_cast<char>(c ^ kIncludeMask);
    EXPECT_EQ(data, jar);
    ASSERT_TRUE(readInt(source, size));
    EXPECT_EQ(size, 0);
    EXPECT_EQ(source.position(), exe.size());
}

// With class-data sharing on, the block names the included files' stable
// place: the SHA-256 of their names, sizes and data, which changes with any
// of them. Off, or with nothing included, there is no such entry.
TEST_F(BuildTest, ClassDataSharingStoresTheIncludedFilesDigest) {
    auto digestOf = [&](const std::string& text, std::vector<std::string> overrides) {
        build(text, "out.exe", std::move(overrides));
        ConfigStore store;
        MemorySource source(readFile(dir / "out.exe"));
        EXPECT_EQ(readConfigBlock(source, kPe32PlusLocator, store).error, BlockError::None);
        return store.hasNarrow(2004) ? store.narrow(2004) : std::string("none");
    };
    const std::vector<std::string> on{"java.class-data-sharing=auto"};
    const std::string first = digestOf(project, on);
    const std::string jar = readFile(dir / "hello.jar"), empty = "";
    Sha256 expected;
    expected.update(std::string("hello.jar") + '\0' + std::to_string(jar.size()) + '\0' + jar);
    expected.update(std::string("empty.txt") + '\0' + "0" + '\0');
    EXPECT_EQ(first, expected.hexDigest());
    EXPECT_EQ(digestOf(project, on), first);  // the same files, the same place
    EXPECT_EQ(digestOf(project, {}), "none");
    EXPECT_EQ(digestOf("[application]\nmain-class = \"Hello\"\n[runtime]\ninclude = false\n", on), "none");
    writeFile(dir / "hello.jar", jar + "x");
    EXPECT_NE(digestOf(project, on), first);
    writeFile(dir / "hello.jar", jar);
    writeFile(dir / "other.jar", jar);
    std::string renamed = project;
    renamed.replace(renamed.find("\"hello.jar\", \"empty.txt\""), 24, "\"other.jar\", \"empty.txt\"");
    EXPECT_NE(digestOf(renamed, on), first);
}

TEST_F(BuildTest, SameInputsGiveTheSameBytes) {
    build(project);
    const std::string first = readFile(dir / "out.exe");
    build(project);
    EXPECT_TRUE(first == readFile(dir / "out.exe"));
}

TEST_F(BuildTest, TypeAndArchitecturePickTheStub) {
    struct Case {
        std::vector<std::string> overrides;
        std::uint16_t machine, subsystem;
        BlockLocator locator;
    };
    const std::vector<Case> cases = {
        {{}, 0x8664, kConsole, kPe32PlusLocator},
        {{"application.type = \"gui\""}, 0x8664, kGui, kPe32PlusLocator},
        {{"application.type = 5"}, 0x8664, kGui, kPe32PlusLocator},
        {{"application.type = 0"}, 0x8664, kConsole, kPe32PlusLocator},
        {{"arch = \"x86\""}, 0x14C, kConsole, kPe32Locator},
        {{"arch = \"x86\"", "application.type = \"gui\""}, 0x14C, kGui, kPe32Locator},
        {{"subsystem = \"gui\"", "application.type = 2"}, 0x8664, kGui, kPe32PlusLocator},
        {{"subsystem = \"console\"", "application.type = \"gui\""}, 0x8664, kConsole, kPe32PlusLocator},
        {{"arch = \"x86\"", "subsystem = \"gui\""}, 0x14C, kGui, kPe32Locator},
    };
    for (const auto& c : cases) {
        build(project, "out.exe", c.overrides);
        const std::string exe = readFile(dir / "out.exe");
        expectStubWithResources(exe, c.machine, c.subsystem, readProject(dir / "app.toml", c.overrides));
        ConfigStore store;
        MemorySource source(exe);
        EXPECT_EQ(readConfigBlock(source, c.locator, store).error, BlockError::None);
        EXPECT_EQ(store.narrow(122), "Hello");
    }
}

TEST_F(BuildTest, OutputDefaultsToTheApplicationNameBesideTheProject) {
    BuildResult result = build(project, "");
    EXPECT_EQ(result.output, dir / "Hello.exe");
    EXPECT_TRUE(fs::exists(dir / "Hello.exe"));
    result = build("output = \"bin/x.exe\"\n" + project, "");
    EXPECT_EQ(result.output, dir / "bin/x.exe");
}

TEST_F(BuildTest, TheBuildTreeLayoutOfStubsIsFound) {
    TempDir tree;
    writeFile(tree / "win64/stubs" / stubFileName(false), fakeStub(0x8664, kConsole));
    writeFile(tree / "win32/stubs" / stubFileName(false), fakeStub(0x14C, kConsole));
    std::vector<fs::path> tried;
    EXPECT_EQ(findStub({tree.path()}, "x64", false, tried), tree / "win64/stubs" / stubFileName(false));
    EXPECT_EQ(findStub({tree.path()}, "x86", false, tried), tree / "win32/stubs" / stubFileName(false));
    EXPECT_TRUE(findStub({tree.path()}, "x64", true, tried).empty());
}

// A Vexal home (an unpacked release) and an installation under a prefix:
// the generator finds the stubs and the runtime jars beside itself, and
// --stubs may name the home too.
TEST(StubRoots, AHomeAndAnInstallationAreFoundBesideTheProgram) {
    TempDir home, prefix;
    // The program's directory's parent, the stubs, the jars, what --stubs names.
    for (const auto& [root, stubs, lib, given] :
         {std::tuple<fs::path, fs::path, fs::path, fs::path>{home.path(), home / "stubs", home / "lib", home.path()},
          {prefix.path(), prefix / "share/vexal/stubs", prefix / "share/vexal/lib", prefix / "share/vexal/stubs"}}) {
        writeFile(stubs / "x64" / stubFileName(false), fakeStub(0x8664, kConsole));
        writeFile(stubs / "x86" / stubFileName(true), fakeStub(0x14C, kGui));
        writeFile(stubs / "linux-x64/vexal-stub-linux", "ELF");
        writeFile(lib / "vexal-runtime.jar", "PK");
        for (const auto& roots : {stubRoots("", nullptr, root / "bin/vexal"), stubRoots(given.string(), nullptr, "")}) {
            std::vector<fs::path> tried;
            EXPECT_EQ(findStub(roots, "x64", false, tried), stubs / "x64" / stubFileName(false)) << root;
            EXPECT_EQ(findStub(roots, "x86", true, tried), stubs / "x86" / stubFileName(true)) << root;
            EXPECT_EQ(findStub(roots, "linux-x64", true, tried), stubs / "linux-x64/vexal-stub-linux") << root;
            EXPECT_TRUE(findStub(roots, "x64", true, tried).empty()) << root;
            EXPECT_EQ(findRuntimeFile(roots, "vexal-runtime.jar", tried), lib / "vexal-runtime.jar") << root;
        }
    }
}

TEST(StubRoots, ExplicitThenEnvironmentThenBesideTheProgram) {
    EXPECT_EQ(stubRoots("/s", "/e", "/b/generator/vexal"), std::vector<fs::path>{"/s"});
    EXPECT_EQ(stubRoots("", "/e", "/b/generator/vexal"), std::vector<fs::path>{"/e"});
    EXPECT_EQ(stubRoots("", "", "/usr/bin/vexal"),
              (std::vector<fs::path>{"/usr", "/usr/share/vexal/stubs"}));
}

TEST_F(BuildTest, FailuresWriteNothing) {
    struct Case {
        const char* name;
        std::string project;
        std::function<void()> prepare;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"unknown key", "bogus = 1\n" + project, [] {}, "bogus: unknown key"},
        {"no stub", project, [&] { fs::remove(dir / "stubs/x64" / stubFileName(false)); }, "no vexal-stub-console.exe for x64"},
        {"stub of the wrong machine", project,
         [&] { writeFile(dir / "stubs/x64" / stubFileName(false), fakeStub(0x14C, kConsole)); }, "built for x86, not x64"},
        {"stub with a tail", project,
         [&] { writeFile(dir / "stubs/x64" / stubFileName(false), fakeStub(0x8664, kConsole) + "tail"); },
         "4 bytes behind its last section"},
        {"stub cut short", project,
         [&] { writeFile(dir / "stubs/x64" / stubFileName(false), fakeStub(0x8664, kConsole).substr(0, 0x500)); },
         "cut short"},
        {"stub with another section layout", project,
         [&] { writeFile(dir / "stubs/x64" / stubFileName(false), fakeStub(0x8664, kConsole, 0x200, 10)); },
         "the stub has 10 sections; the raw-data fields of its last one are at offsets 768/772, but the launcher "
         "reads 608/612"},
        {"not a stub", project, [&] { writeFile(dir / "stubs/x64" / stubFileName(false), "just text"); },
         "not a Windows executable"},
    };
    for (const auto& c : cases) {
        writeStubs(dir.path() / "stubs");
        c.prepare();
        fs::remove(dir / "out.exe");
        try {
            build(c.project);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const std::exception& error) {
            EXPECT_NE(std::string(error.what()).find(c.expected), std::string::npos) << c.name << ": " << error.what();
        }
        EXPECT_FALSE(fs::exists(dir / "out.exe")) << c.name;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            EXPECT_NE(entry.path().filename().string().rfind("out.exe.part", 0), 0u) << c.name << ": " << entry.path();
    }
}

// The output's folder may be a shared one: another user plants links where
// the output and its temporary file once went, to a file of the victim's.
// The build writes through neither and leaves the output a file of its own.
TEST_F(BuildTest, PlantedLinksBesideTheOutputAreNeverWrittenThrough) {
    writeFile(dir / "victim.txt", "the victim's own");
    for (const char* name : {"out.exe.part", "out.exe"}) fs::create_symlink(dir / "victim.txt", dir / name);
    const BuildResult result = build(project);
    EXPECT_EQ(readFile(dir / "victim.txt"), "the victim's own");
    EXPECT_FALSE(fs::is_symlink(dir / "out.exe"));
    EXPECT_EQ(readFile(dir / "out.exe").size(), result.size);
    EXPECT_TRUE(fs::is_symlink(dir / "out.exe.part"));  // not ours: left alone
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().filename().string().rfind("out.exe.part-", 0), 0u) << entry.path();
}
