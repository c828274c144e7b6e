// A launcher whose block is missing, foreign or cut short ends with the fixed
// text of the failed read and exit code 1. These errors come before the
// block could say where errors go: on standard error with the internal
// switch, else in a message box with the caption that the block had already
// delivered (none for most of them).
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <ostream>
#include <string>
#include <tuple>

#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "tests/e2e/Launchers.h"

namespace vexal::testing {
namespace {

std::string int32(std::int32_t value) {
    std::string out;
    appendInt32(out, value);
    return out;
}

const std::string kMagic = int32(static_cast<std::int32_t>(kBlockMagic));

std::string wrongMagicBlock() {
    std::string block = writeConfigBlock(typicalMessages());
    block[0] = static_cast<char>(block[0] ^ 0x01);
    return block;
}

struct BlockCase {
    const char* name;
    std::string tail;  // bytes behind the stub's image
    const char* text;
    bool printsErrorCode;  // "error %d" on standard output first
};

const BlockCase kBlockCases[] = {
    {"NoBlock", "", "Internal Error: readInt", true},
    {"CutInsideMagic", kMagic.substr(0, 2), "Internal Error: readInt", true},
    {"WrongMagic", wrongMagicBlock(), "Internal Error: magic", false},
    {"ForeignData", std::string("PK\x03\x04 an archive, not a block", 31), "Internal Error: magic", false},
    {"CutInsideNarrowCount", kMagic + std::string("\x01\x00", 2), "Internal Error: readInt", true},
    {"CutInsideNarrowId", kMagic + int32(1) + "\xE8\x03", "Internal Error: readInt", true},
    {"CutInsideNarrowValue", kMagic + int32(1) + int32(msg::Caption) + int32(5) + "Err", "Internal Error: readString",
     false},
    {"NegativeNarrowLength", kMagic + int32(1) + int32(msg::Caption) + int32(-1), "Internal Error: readString", false},
    {"CutBeforeWideCount", kMagic + int32(0), "Internal Error: readInt", true},
    {"CutInsideWideValue", kMagic + int32(0) + int32(1) + int32(7) + int32(10) + std::string("A\0B\0", 4),
     "Internal Error: readWString", false},
};

void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.name; }

class BlockErrorTest : public ::testing::TestWithParam<std::tuple<BlockCase, StubKind>> {};

TEST_P(BlockErrorTest, FixedTextOnStandardErrorAndExitCode1) {
    const BlockCase& c = std::get<0>(GetParam());
    const Launcher launcher = makeLauncher(std::get<1>(GetParam()), c.tail);

    const ProcessResult run = wineRun({launcher.exe, "-q_kvl_internal"});

    EXPECT_EQ(run.exitCode, 1);
    // The text reaches the pipe although the process ends at once.
    EXPECT_EQ(run.err, textMode(std::string(c.text) + "\n"));
    if (c.printsErrorCode) {
        EXPECT_TRUE(std::regex_match(run.out, std::regex("error -?[0-9]+\r\n"))) << run.out;
    } else {
        EXPECT_EQ(run.out, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BlockErrorTest,
                         ::testing::Combine(::testing::ValuesIn(kBlockCases),
                                            ::testing::Values(StubKind::Gui, StubKind::Console)),
                         [](const ::testing::TestParamInfo<BlockErrorTest::ParamType>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    stubKindName(std::get<1>(info.param));
                         });

// Without the switch the same errors come in a message box. Its caption is
// entry 1000 when the block delivered it before the failed read, else empty.
struct BoxCase {
    const char* name;
    std::string tail;
    const char* caption;
    const char* text;
};

const BoxCase kBoxCases[] = {
    {"WrongMagic", wrongMagicBlock(), "", "Internal Error: magic"},
    {"CutAfterCaption",
     kMagic + int32(2) + int32(msg::Caption) + int32(13) + "Block Caption" + int32(msg::NoJvm) + int32(9) + "cut",
     "Block Caption", "Internal Error: readString"},
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class BlockErrorBoxTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(BlockErrorBoxTest, FixedTextInMessageBox) {
    const Launcher launcher = makeLauncher(StubKind::Gui, GetParam().tail);
    RunnerSpec spec;
    spec.app = launcher.exe;
    spec.environment = baseEnvironment();
    spec.watchBoxes = true;

    const ProcessResult run = runThroughRunner(spec, launcher.dir);

    EXPECT_EQ(run.exitCode, 1);
    const auto boxes = reportedBoxes(run.out);
    ASSERT_EQ(boxes.size(), 1u) << run.out;
    EXPECT_EQ(boxes[0].caption, GetParam().caption);
    EXPECT_EQ(boxes[0].text, GetParam().text);
    EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, BlockErrorBoxTest, ::testing::ValuesIn(kBoxCases),
                         [](const ::testing::TestParamInfo<BoxCase>& info) { return info.param.name; });

}  // namespace
}  // namespace vexal::testing

namespace vexal::testing {
namespace {

// A path that the ANSI code page cannot spell. The launcher takes the short
// form of its wide module name, which the code page can spell, as long as it
// still ends in ".exe"; otherwise it falls back to the narrow name, cannot
// open its own file under it and says so, naming the file in the log.
TEST(OwnFileReadable, PathOutsideTheAnsiCodePageThroughItsShortForm) {
    const Launcher made = makeLauncher(StubKind::Console, writeConfigBlock(typicalMessages()));
    const std::string dir = made.dir + "/\xE6\x97\xA5\xE6\x9C\xAC \xD0\xB4\xD0\xB8\xD1\x80";  // CJK and Cyrillic
    std::filesystem::create_directories(dir);
    const std::string exe = dir + "/app.exe";
    std::filesystem::rename(made.exe, exe);
    RunnerSpec spec;
    spec.app = exe;
    spec.environment = baseEnvironment();

    const ProcessResult run = runThroughRunner(spec, made.dir);

    EXPECT_EQ(run.exitCode, 83);
    EXPECT_EQ(run.err, textMode(typicalMessages().narrow(msg::NoJvm) + "\n"));
}

TEST(OwnFileUnreadable, PathOutsideTheAnsiCodePageWithoutExeSuffix) {
    const Launcher made = makeLauncher(StubKind::Console, writeConfigBlock(typicalMessages()));
    const std::string dir = made.dir + "/\xE6\x97\xA5\xE6\x9C\xAC \xD0\xB4\xD0\xB8\xD1\x80";  // CJK and Cyrillic
    const std::string tmp = made.dir + "/tmp";
    std::filesystem::create_directories(dir);
    std::filesystem::create_directories(tmp);
    const std::string exe = dir + "/app.bin";
    std::filesystem::rename(made.exe, exe);
    RunnerSpec spec;
    spec.app = exe;
    spec.arguments = "-q_kvl_internal";
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(tmp));
    spec.environment.push_back("VEXAL_LOG=yes");

    const ProcessResult run = runThroughRunner(spec, made.dir);

    EXPECT_EQ(run.exitCode, 1);
    std::vector<std::string> logs;
    for (const auto& entry : std::filesystem::directory_iterator(tmp)) logs.push_back(entry.path().string());
    ASSERT_EQ(logs.size(), 1u) << run.err;
    EXPECT_NE(readBinaryFile(logs[0]).find("ERROR: Could not open "), std::string::npos);
    EXPECT_EQ(run.err, textMode("Error opening media file. Please move this file to an ascii-only path like c:\\"
                                "\n\nLog: " +
                                windowsPath(logs[0]) + "\n"));
}

// A path that the ANSI code page can spell, though not in ASCII, is fine.
TEST(OwnFileReadable, PathWithAnsiLetters) {
    const Launcher made = makeLauncher(StubKind::Console, writeConfigBlock(typicalMessages()));
    const std::string dir = made.dir + "/caf\xC3\xA9 na\xC3\xAFve";
    std::filesystem::create_directories(dir);
    const std::string exe = dir + "/app.exe";
    std::filesystem::rename(made.exe, exe);
    RunnerSpec spec;
    spec.app = exe;
    spec.environment = baseEnvironment();

    const ProcessResult run = runThroughRunner(spec, made.dir);

    EXPECT_EQ(run.exitCode, 83);
    EXPECT_EQ(run.err, textMode(typicalMessages().narrow(msg::NoJvm) + "\n"));
}

}  // namespace
}  // namespace vexal::testing
