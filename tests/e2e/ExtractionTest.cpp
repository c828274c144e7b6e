// Included files: extracted at start into a fresh directory under TMP, read
// back here through the "Temp dir:" line of the log. The runs end with the
// missing JVM (exit 83) once extraction is through; failures inside the
// extraction end with message 1009 and exit code 1.
#include <cctype>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "generator/Build.h"
#include "tests/e2e/Launchers.h"
#include "tests/support/ExeBuilder.h"

namespace vexal::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kExitNoJvm = 83;

// One included-file record: size, then the data XORed with 0x5A.
std::string record(const std::string& data) {
    std::string out;
    appendInt32(out, static_cast<std::int32_t>(data.size()));
    for (char c : data) out.push_back(static_cast<char>(static_cast<unsigned char>(c) ^ 0x5A));
    return out;
}

std::string allByteValues(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i + i / 256) & 0xFF);
    return bytes;
}

struct ExtractionRun {
    Launcher launcher;
    std::string tmp;  // Unix path of TMP
    ProcessResult result;
    std::vector<std::string> log;
    std::string extractionDir;  // Unix path from "Temp dir: ", empty when not logged
};

std::string unixPath(const std::string& windows) {
    if (windows.size() < 2 || (windows.compare(0, 2, "Z:") != 0 && windows.compare(0, 2, "z:") != 0)) return "";
    std::string out = windows.substr(2);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

// Runs the launcher through the runner with TMP and TEMP in its work
// directory and the log on; reads the log and the extraction directory.
ExtractionRun runExtraction(const Launcher& launcher, const std::vector<std::string>& extraEnvironment = {}) {
    ExtractionRun run{launcher, launcher.dir + "/tmp", {}, {}, ""};
    fs::create_directories(run.tmp);
    RunnerSpec spec;
    spec.app = run.launcher.exe;
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(run.tmp));
    spec.environment.push_back("TEMP=" + windowsPath(run.tmp));
    spec.environment.push_back("VEXAL_LOG=yes");
    spec.environment.insert(spec.environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    spec.watchBoxes = true;
    run.result = runThroughRunner(spec, run.launcher.dir);
    for (const auto& entry : fs::directory_iterator(run.tmp)) {
        if (entry.path().filename().string().rfind("kvl_nlog_", 0) == 0) {
            run.log = crlfLines(readBinaryFile(entry.path().string()));
        }
    }
    const std::string head = "Temp dir: ";
    for (const auto& line : run.log) {
        if (line.rfind(head, 0) == 0) run.extractionDir = unixPath(line.substr(head.size()));
    }
    return run;
}

// A launcher whose block has the typical messages, entry 2002 = count and
// entry 2003 = names (each left out when null), followed by records.
ExtractionRun runLauncher(const char* count, const char* names, const std::string& records,
                          const std::vector<std::string>& extraEnvironment = {}) {
    ConfigStore store = typicalMessages("2");
    if (count) store.setNarrow(id::IncludedFileCount, count);
    if (names) store.setNarrow(id::IncludedFileNames, names);
    return runExtraction(makeLauncher(StubKind::Gui, writeConfigBlock(store) + records), extraEnvironment);
}

std::set<std::string> namesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

bool logHas(const ExtractionRun& run, const std::string& line) {
    return std::find(run.log.begin(), run.log.end(), line) != run.log.end();
}

// The log lines of the extraction, in order.
std::vector<std::string> extractionLines(const ExtractionRun& run) {
    std::vector<std::string> lines;
    for (const auto& line : run.log) {
        for (const char* head : {"extracting ", "Included files: ", "Temp dir: "}) {
            if (line.rfind(head, 0) == 0 || line == "extracting files") {
                lines.push_back(line);
                break;
            }
        }
    }
    return lines;
}

std::string internalErrorText(const ExtractionRun& run, const char* code) {
    std::string logName;
    for (const auto& entry : fs::directory_iterator(run.tmp)) {
        if (entry.path().filename().string().rfind("kvl_nlog_", 0) == 0) logName = windowsPath(entry.path().string());
    }
    return textMode(std::string("An internal error occurred (error code: ") + code + ")\n\nLog: " + logName + "\n");
}

TEST(Extraction, BinaryContentRoundTripsAndAnEmptyFileIsLoggedButNotCreated) {
    const std::string big = allByteValues(16384);
    const std::string small("\x00\x5A\xA5\xFF\r\n", 6);
    const ExtractionRun run = runLauncher("3", "data.bin;empty.dat;small.bin", record(big) + record("") + record(small));

    EXPECT_EQ(run.result.exitCode, kExitNoJvm) << run.result.err;
    ASSERT_FALSE(run.extractionDir.empty());
    const fs::path dir(run.extractionDir);
    EXPECT_EQ(dir.parent_path(), fs::path(run.tmp));
    EXPECT_TRUE(std::regex_match(dir.filename().string(), std::regex(R"(vxl[0-9A-Fa-f]{1,4}\.tmp_dir[0-9]{20})")))
        << dir.filename();
    EXPECT_EQ(namesIn(run.extractionDir), (std::set<std::string>{"data.bin", "small.bin"}));
    EXPECT_EQ(readBinaryFile(run.extractionDir + "/data.bin"), big);
    EXPECT_EQ(readBinaryFile(run.extractionDir + "/small.bin"), small);
    // The placeholder file that named the directory is gone.
    for (const auto& name : namesIn(run.tmp)) {
        EXPECT_TRUE(name == dir.filename().string() || name.rfind("kvl_nlog_", 0) == 0) << name;
    }

    const std::string windowsDir = windowsPath(run.extractionDir);
    const std::vector<std::string> expected = {
        "extracting files",
        "Included files: 3",
        "Temp dir: " + windowsDir,
        "extracting " + windowsDir + "\\data.bin (size: 16384)",
        "extracting " + windowsDir + "\\empty.dat (size: 0)",
        "extracting " + windowsDir + "\\small.bin (size: 6)",
        "extracting files done",
    };
    EXPECT_EQ(extractionLines(run), expected);
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The generator's include list and the launcher agree: what the project
// names comes out byte for byte.
TEST(Extraction, GeneratedExecutableExtractsTheProjectsFiles) {
    const std::string dir = testWorkDir();
    const std::string big = allByteValues(16384), jar = allByteValues(100001);
    writeBytes(dir + "/data/big.bin", big);
    writeBytes(dir + "/data/empty.txt", "");
    writeBytes(dir + "/lib/app.jar", jar);
    writeBytes(dir + "/app.toml",
               "include = [\"data/big.bin\", \"data/empty.txt\", \"lib/app.jar\"]\n"
               "[application]\nmain-class = \"Hello\"\ntype = \"console\"\n");
    gen::BuildRequest request;
    request.projectFile = dir + "/app.toml";
    request.output = dir + "/app.exe";
    request.stubRoots = {fs::path(harness().stubsX64).parent_path().parent_path()};
    gen::buildExecutable(request);

    const ExtractionRun run = runExtraction(Launcher{dir, dir + "/app.exe"});

    EXPECT_EQ(run.result.exitCode, kExitNoJvm) << run.result.err;
    ASSERT_FALSE(run.extractionDir.empty());
    // The generator adds the launcher's Java runtime to the project's files.
    EXPECT_EQ(namesIn(run.extractionDir), (std::set<std::string>{"big.bin", "app.jar", "vexal-runtime.jar"}));
    EXPECT_EQ(readBinaryFile(run.extractionDir + "/big.bin"), big);
    EXPECT_EQ(readBinaryFile(run.extractionDir + "/app.jar"), jar);
    EXPECT_TRUE(logHas(run, "Included files: 4"));
    EXPECT_TRUE(logHas(run, "extracting " + windowsPath(run.extractionDir) + "\\empty.txt (size: 0)"));
    EXPECT_TRUE(logHas(run, "extracting files done"));
}

TEST(Extraction, FewerNamesThanTheCountExtractOnlyTheNamedFiles) {
    const ExtractionRun run = runLauncher("3", ";a.txt;;b.txt;", record("first") + record("second") + record("third"));

    EXPECT_EQ(run.result.exitCode, kExitNoJvm) << run.result.err;
    ASSERT_FALSE(run.extractionDir.empty());
    EXPECT_EQ(namesIn(run.extractionDir), (std::set<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(readBinaryFile(run.extractionDir + "/a.txt"), "first");
    EXPECT_EQ(readBinaryFile(run.extractionDir + "/b.txt"), "second");
    EXPECT_TRUE(logHas(run, "extracting files done"));
}

TEST(Extraction, MoreNamesThanTheCountExtractOnlyTheCounted) {
    const ExtractionRun run = runLauncher("1", "a.txt;b.txt", record("first") + record("second"));

    EXPECT_EQ(run.result.exitCode, kExitNoJvm) << run.result.err;
    ASSERT_FALSE(run.extractionDir.empty());
    EXPECT_EQ(namesIn(run.extractionDir), (std::set<std::string>{"a.txt"}));
}

struct NothingCase {
    const char* name;
    const char* count;
};

void PrintTo(const NothingCase& c, std::ostream* os) { *os << c.name; }

class NothingIncluded : public ::testing::TestWithParam<NothingCase> {};

TEST_P(NothingIncluded, MakesNoDirectory) {
    const ExtractionRun run = runLauncher(GetParam().count, "a.txt", "");

    EXPECT_EQ(run.result.exitCode, kExitNoJvm) << run.result.err;
    const std::vector<std::string> expected = {"extracting files", "Included files: 0"};
    EXPECT_EQ(extractionLines(run), expected);
    for (const auto& name : namesIn(run.tmp)) EXPECT_EQ(name.rfind("kvl_nlog_", 0), 0u) << name;
}

const NothingCase kNothingCases[] = {{"Missing", nullptr}, {"Zero", "0"}, {"Text", "none"}};
INSTANTIATE_TEST_SUITE_P(Cases, NothingIncluded, ::testing::ValuesIn(kNothingCases),
                         [](const ::testing::TestParamInfo<NothingCase>& info) { return info.param.name; });

// Wine's file trace (through the child's WINEDEBUG) shows every open of the
// executable: the block reader's, and the extraction's only when there is
// something to extract.
// TMP names no directory: no temporary name can be made, and the run ends
// with code 7 instead of creating a directory relative to the current one.
TEST(Extraction, NoTemporaryNameEndsWithErrorCode7) {
    ConfigStore store = typicalMessages("2");
    store.setNarrow(id::IncludedFileCount, "1");
    store.setNarrow(id::IncludedFileNames, "a.txt");
    const Launcher launcher = makeLauncher(StubKind::Gui, writeConfigBlock(store) + record("x"));
    RunnerSpec spec;
    spec.app = launcher.exe;
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(launcher.dir + "/missing"));
    spec.environment.push_back("TEMP=" + windowsPath(launcher.dir + "/missing"));

    const ProcessResult run = runThroughRunner(spec, launcher.dir);

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, textMode("An internal error occurred (error code: 7)\n"));
    EXPECT_EQ(namesIn(launcher.dir), (std::set<std::string>{"app.exe", "run.spec"}));
}

struct OpenCase {
    const char* name;
    const char* count;
    std::string records;
    int opens;
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

class OwnExecutableOpens : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OwnExecutableOpens, SecondOpenOnlyForIncludedFiles) {
    const ExtractionRun run = runLauncher(GetParam().count, "a.txt", GetParam().records, {"WINEDEBUG=trace+file"});

    EXPECT_EQ(run.result.exitCode, kExitNoJvm);
    // The launcher opens itself through its short, lower-case path, so only
    // the file name part of the traced path is compared.
    std::string trace = run.result.err;
    for (char& c : trace) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string open = "\\\\app.exe\" generic_read ";
    int opens = 0;
    for (std::size_t at = 0; (at = trace.find(open, at)) != std::string::npos; at += open.size()) ++opens;
    EXPECT_EQ(opens, GetParam().opens);
}

const OpenCase kOpenCases[] = {
    {"NothingIncluded", "0", "", 1},
    {"OneFileIncluded", "1", record("x"), 2},
};
INSTANTIATE_TEST_SUITE_P(Cases, OwnExecutableOpens, ::testing::ValuesIn(kOpenCases),
                         [](const ::testing::TestParamInfo<OpenCase>& info) { return info.param.name; });

struct TruncatedCase {
    const char* name;
    std::string records;
    std::set<std::string> extracted;
};

void PrintTo(const TruncatedCase& c, std::ostream* os) { *os << c.name; }

class TruncatedData : public ::testing::TestWithParam<TruncatedCase> {};

// The executable ends inside a record's data: "ReadFile failed", the failing
// path logged, error code 16; no partial file is left.
TEST_P(TruncatedData, EndsWithErrorCode16) {
    const ExtractionRun run = runLauncher("2", "a.bin;b.bin", GetParam().records);

    EXPECT_EQ(run.result.exitCode, 1);
    EXPECT_EQ(run.result.err, internalErrorText(run, "16"));
    ASSERT_FALSE(run.extractionDir.empty());
    EXPECT_EQ(namesIn(run.extractionDir), GetParam().extracted);
    EXPECT_TRUE(logHas(run, "ERROR: ReadFile failed"));
    const std::string failed = GetParam().extracted.empty() ? "a.bin" : "b.bin";
    EXPECT_TRUE(logHas(run, "ERROR: Failed to extract " + windowsPath(run.extractionDir) + "\\" + failed));
    EXPECT_FALSE(logHas(run, "extracting files done"));
}

const TruncatedCase kTruncatedCases[] = {
    {"FirstFileCutShort", record(allByteValues(20000)).substr(0, 10004), {}},
    {"SizeBeyondTheFile", std::string("\xFF\xFF\xFF\x7F", 4) + "abc", {}},
    {"SecondFileCutShort", record("whole") + record(allByteValues(9000)).substr(0, 8200), {"a.bin"}},
};
INSTANTIATE_TEST_SUITE_P(Cases, TruncatedData, ::testing::ValuesIn(kTruncatedCases),
                         [](const ::testing::TestParamInfo<TruncatedCase>& info) { return info.param.name; });

// A hand-made block whose names try to leave the extraction directory:
// refused with error code 11 before anything is written for them. A name
// that simply cannot be created ends the same way.
struct EscapeCase {
    const char* name;
    std::string fileName;  // the included name; "@" stands for the test's TMP directory
};

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }

class EscapingName : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapingName, IsRefusedWithErrorCode11) {
    const std::string tmpDir = freshWorkDir(std::string("EscapingName.tmp.") + GetParam().name);
    std::string name = GetParam().fileName;
    if (name.find('@') != std::string::npos) name.replace(name.find('@'), 1, windowsPath(tmpDir));
    const ExtractionRun run = runLauncher("2", ("good.txt;" + name).c_str(), record("good") + record("evil"));

    EXPECT_EQ(run.result.exitCode, 1);
    EXPECT_EQ(run.result.err, internalErrorText(run, "11"));
    ASSERT_FALSE(run.extractionDir.empty());
    EXPECT_EQ(namesIn(run.extractionDir), (std::set<std::string>{"good.txt"}));
    EXPECT_TRUE(namesIn(tmpDir).empty());
    for (const auto& entry : namesIn(run.tmp)) {
        EXPECT_TRUE(entry == fs::path(run.extractionDir).filename().string() || entry.rfind("kvl_nlog_", 0) == 0)
            << entry;
    }
    EXPECT_FALSE(fs::exists(run.launcher.dir + "/evil.txt"));
    EXPECT_FALSE(fs::exists(fs::path(sessionVariable("WINEPREFIX")) / "drive_c" / "evil.txt"));
    EXPECT_FALSE(logHas(run, "extracting files done"));
}

const EscapeCase kEscapeCases[] = {
    {"ParentDirectory", "..\\evil.txt"},
    {"ParentOfParent", "..\\..\\evil.txt"},
    {"ForwardSlashParent", "../evil.txt"},
    {"DriveRelative", "C:evil.txt"},
    {"DriveRoot", "C:\\evil.txt"},
    {"Absolute", "@\\evil.txt"},
    {"Rooted", "\\evil.txt"},
    {"JustDotDot", ".."},
    {"Device", "NUL"},
    {"TooLongToCreate", std::string(300, 'n')},
};
INSTANTIATE_TEST_SUITE_P(Cases, EscapingName, ::testing::ValuesIn(kEscapeCases),
                         [](const ::testing::TestParamInfo<EscapeCase>& info) { return info.param.name; });

}  // namespace
}  // namespace vexal::testing
