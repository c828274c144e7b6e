// Hostile executables and environments: executables cut anywhere in their
// block or included data, counts and lengths far beyond the file, very many
// entries, values at and beyond the 8192-byte text buffers, a 1 MB line in
// the .vmoptions file, unwritable temporary and log locations. Each run must
// end with its message and exit code, quickly, and leave nothing behind but
// what is listed for deletion (the extraction directory).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "tests/e2e/Launchers.h"
#include "tests/e2e/SearchRuns.h"
#include "tests/support/ExeBuilder.h"

namespace vexal::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kExitNoJvm = 83;

std::string int32(std::int32_t value) {
    std::string out;
    appendInt32(out, value);
    return out;
}

const std::string kMagic = int32(static_cast<std::int32_t>(kBlockMagic));

std::string record(const std::string& data) {
    std::string out = int32(static_cast<std::int32_t>(data.size()));
    for (char c : data) out.push_back(static_cast<char>(static_cast<unsigned char>(c) ^ 0x5A));
    return out;
}

std::string filler(std::size_t size, char first = 'a') {
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>(first + i % 26);
    return text;
}

std::string internalError(const char* code) {
    std::string text = typicalMessages().narrow(msg::InternalError);
    text.replace(text.find(placeholder::ErrorCode), std::string(placeholder::ErrorCode).size(), code);
    return text;
}

struct HostileRun {
    ProcessResult result;
    std::string tmp;
    double cpuSeconds = -1;  // measured on request; -1: not measured
};

// One start through the runner, with the internal switch (every error on
// standard error), TMP and TEMP in the work directory's "tmp".
HostileRun runHostile(const Launcher& launcher, const std::vector<std::string>& extraEnvironment = {},
                      bool measureCpu = false) {
    HostileRun run;
    run.tmp = launcher.dir + "/tmp";
    fs::create_directories(run.tmp);
    RunnerSpec spec;
    spec.app = launcher.exe;
    spec.arguments = "-q_kvl_internal";
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(run.tmp));
    spec.environment.push_back("TEMP=" + windowsPath(run.tmp));
    spec.environment.insert(spec.environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    spec.reportCpu = measureCpu;
    run.result = runThroughRunner(spec, launcher.dir);
    // The runner's last line: the launcher's own CPU time, which a loaded
    // machine does not stretch the way it stretches the wall clock.
    const std::size_t cpu = run.result.out.rfind("CPU ms=");
    if (measureCpu && cpu != std::string::npos) {
        run.cpuSeconds = std::stod(run.result.out.substr(cpu + 7)) / 1000.0;
        run.result.out.erase(cpu);
    }
    return run;
}

std::set<std::string> namesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

// An error text as it reaches standard error with the log on: the log's
// name follows. Texts are held in 8192-byte buffers: an over-long message
// gives way to the note.
std::string withLogName(const std::string& text, const HostileRun& run) {
    for (const auto& entry : fs::directory_iterator(run.tmp)) {
        if (entry.path().filename().string().rfind("kvl_nlog_", 0) == 0) {
            const std::string note = "\n\nLog: " + windowsPath(entry.path().string());
            return textMode(text.substr(0, 8191 - note.size()) + note + "\n");
        }
    }
    return textMode(text.substr(0, 8191) + "\n");
}

// Nothing beside the executable but the runner's spec and TMP; in TMP at
// most the extraction directories (listed for deletion) and log files, no
// placeholder file of a temporary name.
void expectNoStrayFile(const Launcher& launcher, const HostileRun& run) {
    EXPECT_EQ(namesIn(launcher.dir), (std::set<std::string>{"app.exe", "run.spec", "tmp"}));
    for (const std::string& name : namesIn(run.tmp)) {
        EXPECT_TRUE(std::regex_match(name, std::regex(R"(vxl[0-9A-Fa-f]{1,4}\.tmp_dir[0-9]{20}|kvl_nlog_.*)")))
            << name;
    }
}

// ---------------------------------------------------------------------------
// An executable cut at every field of its block and at many points of its
// included data. The expected ending follows from the field that the cut
// falls into: an integer (magic, count, id, length, record size), a narrow
// or wide text, or a record's data.

enum class Field { Int, Narrow, Wide, RecordSize, RecordData, End };

struct Span {
    std::size_t begin, end;
    Field field;
};

struct CutImage {
    std::string bytes;
    std::vector<Span> spans;
};

const CutImage& cutImage() {
    static const CutImage image = [] {
        CutImage img;
        auto add = [&](const std::string& part, Field field) {
            img.spans.push_back({img.bytes.size(), img.bytes.size() + part.size(), field});
            img.bytes += part;
        };
        ConfigStore store = typicalMessages("2");
        store.setNarrow(id::IncludedFileCount, "2");
        store.setNarrow(id::IncludedFileNames, "a.bin;b.bin");
        add(kMagic, Field::Int);
        add(int32(static_cast<std::int32_t>(store.narrowEntries().size())), Field::Int);
        for (const auto& entry : store.narrowEntries()) {
            add(int32(entry.first), Field::Int);
            add(int32(static_cast<std::int32_t>(entry.second.size())), Field::Int);
            if (!entry.second.empty()) add(entry.second, Field::Narrow);
        }
        add(int32(1), Field::Int);
        add(int32(7), Field::Int);
        add(int32(8), Field::Int);
        add(std::string("w\0i\0d\0e\0", 8), Field::Wide);
        const std::string big = filler(20000);
        const std::string small = filler(100, 'A');
        add(int32(static_cast<std::int32_t>(big.size())), Field::RecordSize);
        add(record(big).substr(4), Field::RecordData);
        add(int32(static_cast<std::int32_t>(small.size())), Field::RecordSize);
        add(record(small).substr(4), Field::RecordData);
        return img;
    }();
    return image;
}

struct Cut {
    std::size_t keep;  // bytes kept behind the stub's image
    Field field;       // the field the cut falls into (End: nothing cut)
};

void PrintTo(const Cut& c, std::ostream* os) { *os << c.keep; }

// Each field cut one byte in; texts and records also right before them
// (their length read, nothing of them present); data also at the copy
// buffer's edges; the whole image last.
std::vector<Cut> cuts() {
    std::vector<Cut> out;
    for (const Span& span : cutImage().spans) {
        if (span.field != Field::Int || span.begin == 0) out.push_back({span.begin, span.field});
        if (span.end - span.begin > 1) out.push_back({span.begin + 1, span.field});
        if (span.field == Field::RecordData) {
            for (std::size_t at : {8191u, 8192u, 8193u, 16384u}) {
                if (span.begin + at < span.end) out.push_back({span.begin + at, span.field});
            }
            out.push_back({span.end - 1, span.field});
        }
    }
    out.push_back({cutImage().bytes.size(), Field::End});
    return out;
}

class CutExecutable : public ::testing::TestWithParam<Cut> {};

TEST_P(CutExecutable, EndsWithTheMessageOfTheCutField) {
    const Cut cut = GetParam();
    const Launcher launcher = makeLauncher(StubKind::Console, cutImage().bytes.substr(0, cut.keep));

    const HostileRun run = runHostile(launcher);

    std::string text;
    int exitCode = 1;
    bool errorLine = false;
    switch (cut.field) {
        case Field::Int: text = "Internal Error: readInt", errorLine = true; break;
        case Field::RecordSize: text = "Internal Error: readInt", errorLine = true; break;
        case Field::Narrow: text = "Internal Error: readString"; break;
        case Field::Wide: text = "Internal Error: readWString"; break;
        case Field::RecordData: text = internalError("16"); break;
        case Field::End: text = typicalMessages().narrow(msg::NoJvm), exitCode = kExitNoJvm; break;
    }
    EXPECT_EQ(run.result.exitCode, exitCode);
    EXPECT_EQ(run.result.err, textMode(text + "\n"));
    if (errorLine) {
        EXPECT_TRUE(std::regex_match(run.result.out, std::regex("error -?[0-9]+\r\n"))) << run.result.out;
    } else {
        EXPECT_EQ(run.result.out, "");
    }
    expectNoStrayFile(launcher, run);
}

INSTANTIATE_TEST_SUITE_P(Points, CutExecutable, ::testing::ValuesIn(cuts()),
                         [](const ::testing::TestParamInfo<Cut>& info) {
                             return "At" + std::to_string(info.param.keep);
                         });

// ---------------------------------------------------------------------------
// Counts and lengths far beyond what the file holds: refused as failed reads
// at once, never allocated or looped through.

struct BeyondCase {
    const char* name;
    std::string tail;
    int exitCode;
    std::string err;
};

void PrintTo(const BeyondCase& c, std::ostream* os) { *os << c.name; }

std::string messagesBlockWith(const char* count, const char* names) {
    ConfigStore store = typicalMessages("2");
    store.setNarrow(id::IncludedFileCount, count);
    store.setNarrow(id::IncludedFileNames, names);
    return writeConfigBlock(store);
}

const std::string kNoJvmLine = typicalMessages().narrow(msg::NoJvm) + "\n";

const BeyondCase kBeyondCases[] = {
    {"NarrowCount", kMagic + int32(0x7FFFFFFF) + int32(101) + int32(1) + "x" + int32(0), 1,
     "Internal Error: readInt\n"},
    {"WideCount", kMagic + int32(0) + int32(0x7FFFFFFF) + int32(1) + int32(2) + "xy", 1, "Internal Error: readInt\n"},
    {"NarrowLength", kMagic + int32(1) + int32(101) + int32(0x7FFFFFF0) + std::string(64, 'x'), 1,
     "Internal Error: readString\n"},
    {"NarrowLengthMinusOne", kMagic + int32(1) + int32(101) + int32(-1) + std::string(64, 'x'), 1,
     "Internal Error: readString\n"},
    {"WideLength", kMagic + int32(0) + int32(1) + int32(1) + int32(0x7FFFFFFE) + std::string(64, 'x'), 1,
     "Internal Error: readWString\n"},
    {"RecordSize", messagesBlockWith("1", "a.bin") + int32(0x7FFFFFFF) + std::string(64, 'x'), 1,
     internalError("16") + "\n"},
    {"IncludedCount", messagesBlockWith("2147483647", "a.bin;b.bin") + record("one") + record("two"), kExitNoJvm,
     kNoJvmLine},
    {"IncludedCountOverflowing", messagesBlockWith("99999999999999999999", "a.bin") + record("one"), kExitNoJvm,
     kNoJvmLine},
};

class BeyondTheFile : public ::testing::TestWithParam<BeyondCase> {};

TEST_P(BeyondTheFile, RefusedQuicklyWithItsMessage) {
    const Launcher launcher = makeLauncher(StubKind::Console, GetParam().tail);

    const HostileRun run = runHostile(launcher, {}, true);

    EXPECT_EQ(run.result.exitCode, GetParam().exitCode);
    EXPECT_EQ(run.result.err, textMode(GetParam().err));
    EXPECT_GE(run.cpuSeconds, 0.0) << "no CPU time reported";
    EXPECT_LT(run.cpuSeconds, 10.0);
    expectNoStrayFile(launcher, run);
}

INSTANTIATE_TEST_SUITE_P(Cases, BeyondTheFile, ::testing::ValuesIn(kBeyondCases),
                         [](const ::testing::TestParamInfo<BeyondCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// 10,000 entries: block entries of both kinds, and included files.

TEST(ManyEntries, TenThousandBlockEntriesOfEachKind) {
    ConfigStore store = typicalMessages("2");
    for (int i = 0; i < 10000; ++i) {
        store.setNarrow(20000 + i, "value " + std::to_string(i));
        store.setWide(20000 + i, u"wide value");
    }
    const Launcher launcher = makeLauncher(StubKind::Console, store);

    const HostileRun run = runHostile(launcher);

    EXPECT_EQ(run.result.exitCode, kExitNoJvm);
    EXPECT_EQ(run.result.err, textMode(kNoJvmLine));
    expectNoStrayFile(launcher, run);
}

// Ten thousand names of empty files (nothing is created for those), and two
// thousand one-byte files: either way the names take far more than one
// 8192-byte text buffer, and every file comes out under its own name.
struct ManyFilesCase {
    const char* name;
    int files;
    std::string content;
};

void PrintTo(const ManyFilesCase& c, std::ostream* os) { *os << c.name; }

class ManyIncludedFiles : public ::testing::TestWithParam<ManyFilesCase> {};

TEST_P(ManyIncludedFiles, AllComeOutUnderTheirNames) {
    const ManyFilesCase& c = GetParam();
    std::string names, records;
    std::set<std::string> expected;
    for (int i = 0; i < c.files; ++i) {
        const std::string name = "f" + std::to_string(i) + ".dat";
        names += name + ";";
        records += record(c.content);
        if (!c.content.empty()) expected.insert(name);
    }
    const Launcher launcher =
        makeLauncher(StubKind::Console, messagesBlockWith(std::to_string(c.files).c_str(), names.c_str()) + records);

    const HostileRun run = runHostile(launcher);

    EXPECT_EQ(run.result.exitCode, kExitNoJvm);
    EXPECT_EQ(run.result.err, textMode(kNoJvmLine));
    expectNoStrayFile(launcher, run);
    std::set<std::string> extracted;
    for (const std::string& dir : namesIn(run.tmp)) {
        if (dir.rfind("vxl", 0) == 0) extracted = namesIn(run.tmp + "/" + dir);
    }
    EXPECT_EQ(extracted.size(), expected.size());
    EXPECT_TRUE(extracted == expected);
}

const ManyFilesCase kManyFilesCases[] = {
    {"TenThousandEmpty", 10000, ""},
    {"TwoThousandOneByte", 2000, "x"},
};
INSTANTIATE_TEST_SUITE_P(Cases, ManyIncludedFiles, ::testing::ValuesIn(kManyFilesCases),
                         [](const ::testing::TestParamInfo<ManyFilesCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Values of 8191, 8192 and 100,000 bytes for the entries that the launcher
// reads into text buffers before or during the JVM search.

struct LongValueCase {
    const char* name;
    std::int32_t id;
    // How the value is made from the filler ("@" stands for the work
    // directory in Windows form).
    std::string (*make)(const std::string& filler, const std::string& dir);
    int exitCode;
    // The expected standard error from the value ("" when it ends with the
    // plain "no JVM" message).
    std::string (*err)(const std::string& value);
};

std::string asIs(const std::string& f, const std::string&) { return f; }
std::string searchDir(const std::string& f, const std::string& dir) { return "B" + dir + "\\" + f; }
std::string pathList(const std::string& f, const std::string& dir) { return dir + "\\" + f + ";" + dir; }
std::string nameList(const std::string& f, const std::string&) { return "a.bin;" + f; }
std::string valueItself(const std::string& value) { return value + "\n"; }

const LongValueCase kLongValueCases[] = {
    {"NoJvmMessage", msg::NoJvm, asIs, kExitNoJvm, valueItself},
    {"Caption", msg::Caption, asIs, kExitNoJvm, nullptr},
    {"AppName", id::AppName, asIs, kExitNoJvm, nullptr},
    {"SearchSequence", id::SearchSequence, searchDir, kExitNoJvm, nullptr},
    {"PathPrefix", id::PathPrefix, pathList, kExitNoJvm, nullptr},
    {"InstallRoot", id::InstallRoot, searchDir, kExitNoJvm, nullptr},
    {"MinVersion", id::MinVersion, asIs, kExitNoJvm, nullptr},
    {"LauncherKind", id::LauncherKind, asIs, kExitNoJvm, nullptr},
    {"IncludedNames", id::IncludedFileNames, nameList, 1,
     [](const std::string&) { return internalError("11") + "\n"; }},
};

struct LongValue {
    LongValueCase entry;
    std::size_t size;
};

void PrintTo(const LongValue& c, std::ostream* os) { *os << c.entry.name << c.size; }

class LongValues : public ::testing::TestWithParam<LongValue> {};

TEST_P(LongValues, EndAsUsual) {
    const LongValue& c = GetParam();
    const Launcher launcher = makeLauncher(StubKind::Console, std::string());
    const std::string value = c.entry.make(filler(c.size), windowsPath(launcher.dir));
    ConfigStore store = typicalMessages("2");
    store.setNarrow(c.entry.id, value);
    store.setNarrow(id::IncludedFileCount, "2");
    if (c.entry.id != id::IncludedFileNames) store.setNarrow(id::IncludedFileNames, "a.bin");
    ExeBuilder(stubPath(StubKind::Console)).block(store).raw(record("first") + record("second")).write(launcher.exe);

    const HostileRun run = runHostile(launcher, {"VEXAL_LOG=yes"});

    EXPECT_EQ(run.result.exitCode, c.entry.exitCode);
    const std::string text = c.entry.err ? c.entry.err(value) : kNoJvmLine;
    EXPECT_EQ(run.result.err, withLogName(text.substr(0, text.size() - 1), run)) << run.result.err.size();
    expectNoStrayFile(launcher, run);
}

std::vector<LongValue> longValues() {
    std::vector<LongValue> out;
    for (const LongValueCase& entry : kLongValueCases) {
        for (std::size_t size : {8191u, 8192u, 100000u}) out.push_back({entry, size});
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(Cases, LongValues, ::testing::ValuesIn(longValues()),
                         [](const ::testing::TestParamInfo<LongValue>& info) {
                             return std::string(info.param.entry.name) + "_" + std::to_string(info.param.size);
                         });

// ---------------------------------------------------------------------------
// Unwritable places.

// TMP names a file, not a directory: no temporary name can be made there.
TEST(Unwritable, TemporaryDirectoryIsAFile) {
    const Launcher launcher = makeLauncher(StubKind::Console, messagesBlockWith("1", "a.bin") + record("one"));
    fs::create_directories(launcher.dir + "/tmp");
    const std::string blocker = launcher.dir + "/tmp/not-a-dir";
    writeText(blocker, "x");
    RunnerSpec spec;
    spec.app = launcher.exe;
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(blocker));
    spec.environment.push_back("TEMP=" + windowsPath(blocker));

    const ProcessResult run = runThroughRunner(spec, launcher.dir);

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, textMode(internalError("7") + "\n"));
    EXPECT_EQ(namesIn(launcher.dir + "/tmp"), (std::set<std::string>{"not-a-dir"}));
    EXPECT_EQ(readBinaryFile(blocker), "x");
}

// VEXAL_LOG=yes with TMP naming no directory: the log goes to drive C:
// instead and the run still ends with its own message and code, naming the
// log; nothing is written under the unusable TMP.
TEST(Unwritable, LogWithoutWritableLocationStillEndsWithTheMessage) {
    const Launcher launcher = makeLauncher(StubKind::Console, messagesBlockWith("0", ""));
    fs::create_directories(launcher.dir + "/tmp");
    const std::string blocker = launcher.dir + "/tmp/not-a-dir";
    writeText(blocker, "x");
    RunnerSpec spec;
    spec.app = launcher.exe;
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(blocker) + "\\sub");
    spec.environment.push_back("VEXAL_LOG=yes");

    const ProcessResult run = runThroughRunner(spec, launcher.dir);

    EXPECT_EQ(run.exitCode, kExitNoJvm);
    EXPECT_EQ(run.err.rfind(textMode(kNoJvmLine), 0), 0u) << run.err;
    EXPECT_EQ(namesIn(launcher.dir + "/tmp"), (std::set<std::string>{"not-a-dir"}));
    const std::smatch log = [&] {
        std::smatch m;
        std::regex_search(run.err, m, std::regex("Log: [cC]:\\\\(kvl_nlog[^\r\n]*)"));
        return m;
    }();
    ASSERT_FALSE(log.empty()) << run.err;
    fs::remove(fs::path(sessionVariable("WINEPREFIX")) / "drive_c" / log[1].str());
}

}  // namespace
}  // namespace vexal::testing

namespace vexal::testing {
namespace {

// A .vmoptions line of 1 MB reaches the JVM as consecutive options of at
// most 8191 bytes that together give the line back, between the launcher's
// properties and the class path; the line after it is an option of its own.
TEST(VmOptionsFile, OneMegabyteLine) {
    const Launcher launcher = makeLauncher(StubKind::Gui, std::string());
    const fs::path library = fs::path(launcher.dir) / "jre" / "bin" / "client";
    makeRuntime(fs::path(launcher.dir) / "jre", "client", "jni-standin/jvm.dll");
    writeText(library / "script.txt",
              "class com/vexal/runtime/WinLauncher\nclass java/lang/String\n"
              "method com/vexal/runtime/WinLauncher main ([Ljava/lang/String;)V\n");
    ConfigStore store = typicalMessages("2");
    store.setNarrow(id::SearchSequence, "B" + windowsPath(launcher.dir) + "\\jre");
    store.setNarrow(id::MainClass, "com.example.App");
    ExeBuilder(stubPath(StubKind::Gui)).block(store).write(launcher.exe);
    const std::string line = "-Dbig=" + filler(1024 * 1024 - 6);
    writeText(launcher.exe + ".vmoptions", line + "\r\n-Dafter=1\r\n");

    const HostileRun run = runHostile(launcher, {"VEXAL_LOG=yes"});

    EXPECT_EQ(run.result.exitCode, 0) << run.result.err;
    std::vector<std::string> options;
    const std::string trace = readBinaryFile((library / "jni-trace.txt").string());
    for (std::size_t at = 0, end; (end = trace.find('\n', at)) != std::string::npos; at = end + 1) {
        if (trace.compare(at, 7, "option ") == 0) options.push_back(trace.substr(at + 7, end - at - 7));
    }
    std::size_t first = 0;
    while (first < options.size() && options[first].rfind("-Dvexal.", 0) == 0) ++first;
    std::string joined;
    std::size_t i = first;
    for (; i < options.size() && options[i] != "-Dafter=1"; ++i) {
        EXPECT_LE(options[i].size(), 8191u);
        joined += options[i];
    }
    EXPECT_EQ(i - first, (line.size() + 8190) / 8191);
    EXPECT_TRUE(joined == line) << joined.size();
    ASSERT_LT(i + 1, options.size());
    EXPECT_EQ(options[i + 1].rfind("-Djava.class.path=", 0), 0u);
}

}  // namespace
}  // namespace vexal::testing
