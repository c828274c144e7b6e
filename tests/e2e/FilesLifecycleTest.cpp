// The life of included files across launcher starts: a run extracts them and
// enters them and their directory in the deferred deletion list
// (HKCU\SOFTWARE\tarnwellsoft\vexal\temp\, "delete_file" and "delete_dir");
// a later start removes what nobody holds and drops it from the list.
//
// Every launcher start cleans up the launchers' real list, so these tests run
// in a Wine session of their own and one at a time (see CMakeLists.txt); they
// still look only at their own paths, never at the rest of the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "generator/Build.h"
#include "tests/e2e/Launchers.h"
#include "tests/e2e/SearchRuns.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/Waiting.h"

namespace vexal::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kExitNoJvm = 83;
constexpr const char* kListKey = "SOFTWARE\\tarnwellsoft\\vexal\\temp";
constexpr const char* kNoJvmText = "No Java runtime here";

std::string filesProbe() { return fs::path(harness().runner).parent_path().string() + "/files-probe.exe"; }

void writeBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void put16(std::string& out, unsigned v) {
    for (int i = 0; i < 2; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t crc32(const std::string& data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A jar with one stored entry, its manifest.
std::string smallJar() {
    const std::string name = "META-INF/MANIFEST.MF";
    const std::string data = "Manifest-Version: 1.0\r\nMain-Class: Hello\r\n\r\n";
    const std::uint32_t crc = crc32(data);
    std::string jar;
    auto common = [&](std::string& out) {
        put16(out, 0), put16(out, 0), put16(out, 0), put16(out, 0x21);  // flags, stored, time, date
        put32(out, crc), put32(out, static_cast<std::uint32_t>(data.size()));
        put32(out, static_cast<std::uint32_t>(data.size()));
        put16(out, static_cast<unsigned>(name.size())), put16(out, 0);
    };
    put32(jar, 0x04034b50), put16(jar, 10), common(jar);
    jar += name + data;
    const std::uint32_t central = static_cast<std::uint32_t>(jar.size());
    put32(jar, 0x02014b50), put16(jar, 20), put16(jar, 10), common(jar);
    put16(jar, 0), put16(jar, 0), put16(jar, 0), put32(jar, 0), put32(jar, 0);
    jar += name;
    const std::uint32_t centralSize = static_cast<std::uint32_t>(jar.size()) - central;
    put32(jar, 0x06054b50), put16(jar, 0), put16(jar, 0), put16(jar, 1), put16(jar, 1);
    put32(jar, centralSize), put32(jar, central), put16(jar, 0);
    return jar;
}

// The generator's executable for a project that includes a jar and a data
// file, written into dir.
struct Project {
    std::string exe;
    std::string jar;
    std::string data;
};

Project generatedProject(const std::string& dir, const std::string& exeName) {
    Project project{dir + "/" + exeName, smallJar(), std::string(20000, 'd')};
    writeBytes(dir + "/lib/app.jar", project.jar);
    writeBytes(dir + "/conf/settings.dat", project.data);
    writeBytes(dir + "/app.toml",
               "include = [\"lib/app.jar\", \"conf/settings.dat\"]\n"
               "[application]\nmain-class = \"Hello\"\ntype = \"gui\"\nclass-path = ['A1app.jar']\n"
               "[messages]\nno-jvm = \"" + std::string(kNoJvmText) + "\"\n");
    gen::BuildRequest request;
    request.projectFile = dir + "/app.toml";
    request.output = project.exe;
    request.stubRoots = {fs::path(harness().stubsX64).parent_path().parent_path()};
    gen::buildExecutable(request);
    return project;
}

std::string unixPath(std::string windows) {
    if (windows.size() < 2 || (windows[0] != 'Z' && windows[0] != 'z') || windows[1] != ':') return "";
    windows.erase(0, 2);
    std::replace(windows.begin(), windows.end(), '\\', '/');
    return windows;
}

// One start of a launcher through the runner, with TMP and TEMP in a
// directory of its own and the log on. The extraction directory comes from
// the "Temp dir: " line, as the launcher wrote it (that is also how it
// enters the list).
struct Start {
    ProcessResult result;
    std::vector<std::string> log;
    std::string dir;      // Windows form, as logged
    std::string unixDir;  // the same directory on the host

    std::string file(const std::string& name) const { return dir + "\\" + name; }
    std::string unixFile(const std::string& name) const { return unixDir + "/" + name; }
};

RunnerSpec startSpec(const std::string& exe, const std::string& runDir) {
    fs::create_directories(runDir + "/tmp");
    RunnerSpec spec;
    spec.app = exe;
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(runDir + "/tmp"));
    spec.environment.push_back("TEMP=" + windowsPath(runDir + "/tmp"));
    spec.environment.push_back("VEXAL_LOG=yes");
    spec.watchBoxes = true;
    return spec;
}

Start readStart(const std::string& runDir, ProcessResult result) {
    Start start{std::move(result), {}, "", ""};
    for (const auto& entry : fs::directory_iterator(runDir + "/tmp")) {
        if (entry.path().filename().string().rfind("kvl_nlog_", 0) == 0)
            start.log = crlfLines(readBinaryFile(entry.path().string()));
    }
    const std::string head = "Temp dir: ";
    for (const auto& line : start.log) {
        if (line.rfind(head, 0) == 0) start.dir = line.substr(head.size());
    }
    start.unixDir = unixPath(start.dir);
    return start;
}

Start startLauncher(const std::string& exe, const std::string& runDir) {
    fs::remove_all(runDir);
    return readStart(runDir, runThroughRunner(startSpec(exe, runDir), runDir));
}

// The entries of one of the launchers' deletion values (none when the key
// or the value is missing).
std::vector<std::string> listed(const char* value) {
    const ProcessResult run = wineRun({filesProbe(), "list", kListKey, value});
    if (run.exitCode == 4 || run.exitCode == 5) return {};
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> entries;
    std::string text = run.out;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::size_t start = 0;
    for (std::size_t end; start <= text.size(); start = end + 1) {
        end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) entries.push_back(text.substr(start, end - start));
    }
    return entries;
}

bool holds(const std::vector<std::string>& list, const std::string& path) {
    return std::find(list.begin(), list.end(), path) != list.end();
}

const std::vector<std::string> kIncluded = {"app.jar", "settings.dat"};

// The start extracted the project's files and ended at the JVM stages.
void expectExtractedAndNoJvm(const Start& start, const Project& project) {
    EXPECT_EQ(start.result.exitCode, kExitNoJvm) << start.result.out << start.result.err;
    const std::vector<Box> boxes = reportedBoxes(start.result.out);
    ASSERT_EQ(boxes.size(), 1u) << start.result.out;
    EXPECT_EQ(boxes[0].text.rfind(kNoJvmText, 0), 0u) << boxes[0].text;
    ASSERT_FALSE(start.unixDir.empty()) << start.dir;
    EXPECT_EQ(readBinaryFile(start.unixFile("app.jar")), project.jar);
    EXPECT_EQ(readBinaryFile(start.unixFile("settings.dat")), project.data);
}

// The start's files and directory are listed (present) or not (absent).
void expectListed(const Start& start, bool present) {
    const std::vector<std::string> files = listed("delete_file");
    for (const auto& name : kIncluded) EXPECT_EQ(holds(files, start.file(name)), present) << start.file(name);
    EXPECT_EQ(holds(listed("delete_dir"), start.dir), present) << start.dir;
}

// Another process that holds a file open, sharing nothing, until released.
class HeldFile {
public:
    HeldFile(const std::string& unixPath, const std::string& releaseFile)
        : release_(releaseFile),
          process_(std::make_unique<Subprocess>(std::vector<std::string>{harness().wineRun, harness().session,
                                                                         filesProbe(), "hold", windowsPath(unixPath),
                                                                         windowsPath(releaseFile)})) {
        held_ = process_->waitForOutput(
            [](const std::string& out) { return out.find("held") != std::string::npos; }, kRunLimit);
    }
    ~HeldFile() { release(); }
    bool held() const { return held_; }
    void release() {
        if (!process_) return;
        writeBytes(release_, "");
        process_->finish(kRunLimit);
        process_.reset();
    }

private:
    std::string release_;
    std::unique_ptr<Subprocess> process_;
    bool held_ = false;
};

// The executable of the project extracts its jar, runs to the JVM stages and
// lists what it extracted; the next start (of another executable) removes
// all of it and drops it from the list.
TEST(FilesLifecycle, NextStartLeavesNothingBehind) {
    const std::string dir = testWorkDir();
    const Project project = generatedProject(dir, "app.exe");
    const Project other = generatedProject(dir + "/other", "other.exe");

    const Start first = startLauncher(project.exe, dir + "/run1");
    expectExtractedAndNoJvm(first, project);
    expectListed(first, true);

    const Start next = startLauncher(other.exe, dir + "/run2");
    expectExtractedAndNoJvm(next, other);
    EXPECT_FALSE(fs::exists(first.unixDir)) << first.unixDir;
    expectListed(first, false);
    // The next start's own files are listed in turn, and go at the start after.
    expectListed(next, true);

    const Start third = startLauncher(project.exe, dir + "/run3");
    EXPECT_EQ(third.result.exitCode, kExitNoJvm);
    EXPECT_FALSE(fs::exists(next.unixDir)) << next.unixDir;
    expectListed(next, false);
    expectListed(third, true);
}

// The run's directory went (a temporary-files cleaner) and another user put a
// link to the user's own folder under its listed name. The next start's
// clean-up reaches through neither the directory entry nor the file entries:
// the folder keeps every file, and the entries are dropped.
TEST(FilesLifecycle, ListedDirectoryReplacedByALinkIsNotFollowed) {
    const std::string dir = testWorkDir();
    const Project project = generatedProject(dir, "app.exe");
    const Project other = generatedProject(dir + "/other", "other.exe");

    const Start first = startLauncher(project.exe, dir + "/run1");
    expectExtractedAndNoJvm(first, project);
    expectListed(first, true);
    fs::remove_all(first.unixDir);
    const std::string victim = dir + "/victim";
    const std::vector<std::string> victimFiles = {"app.jar", "settings.dat", "notes.txt"};
    for (const std::string& name : victimFiles) writeBytes(victim + "/" + name, "the user's own " + name);
    fs::create_directory_symlink(victim, first.unixDir);

    const Start next = startLauncher(other.exe, dir + "/run2");
    expectExtractedAndNoJvm(next, other);
    for (const std::string& name : victimFiles)
        EXPECT_EQ(readBinaryFile(victim + "/" + name), "the user's own " + name) << name;
    expectListed(first, false);
}

// A file that another process holds survives the clean-up, stays listed and
// keeps its directory; the start after its release removes both.
TEST(FilesLifecycle, HeldFileSurvivesUntilReleased) {
    const std::string dir = testWorkDir();
    const Project project = generatedProject(dir, "app.exe");

    const Start first = startLauncher(project.exe, dir + "/run1");
    expectExtractedAndNoJvm(first, project);
    HeldFile held(first.unixFile("app.jar"), dir + "/release");
    ASSERT_TRUE(held.held());

    const Start second = startLauncher(project.exe, dir + "/run2");
    EXPECT_EQ(second.result.exitCode, kExitNoJvm);
    EXPECT_EQ(readBinaryFile(first.unixFile("app.jar")), project.jar);
    EXPECT_FALSE(fs::exists(first.unixFile("settings.dat")));
    const std::vector<std::string> files = listed("delete_file");
    EXPECT_TRUE(holds(files, first.file("app.jar")));
    EXPECT_FALSE(holds(files, first.file("settings.dat")));
    EXPECT_TRUE(holds(listed("delete_dir"), first.dir));

    held.release();
    const Start third = startLauncher(project.exe, dir + "/run3");
    EXPECT_EQ(third.result.exitCode, kExitNoJvm);
    EXPECT_FALSE(fs::exists(first.unixDir)) << first.unixDir;
    expectListed(first, false);
    EXPECT_FALSE(fs::exists(second.unixDir)) << second.unixDir;
    expectListed(second, false);
}

// Eight launchers of one executable at once. Each cleans up before it
// registers its own files, so a launcher that registered early may see its
// files removed by one that cleaned up later: that is no loss. A lost entry
// is an extracted file or directory that still exists but is not listed.
TEST(FilesLifecycle, EightLaunchersAtOnceLoseNoEntry) {
    constexpr int kLaunchers = 8;
    const std::string dir = testWorkDir();
    const Project project = generatedProject(dir, "app.exe");

    std::vector<std::unique_ptr<Subprocess>> running;
    for (int i = 0; i < kLaunchers; ++i) {
        const std::string runDir = dir + "/run" + std::to_string(i);
        running.push_back(startThroughRunner(startSpec(project.exe, runDir), runDir));
    }
    std::vector<Start> starts;
    for (int i = 0; i < kLaunchers; ++i)
        starts.push_back(readStart(dir + "/run" + std::to_string(i), running[i]->finish(kRunLimit)));

    const std::vector<std::string> files = listed("delete_file");
    const std::vector<std::string> dirs = listed("delete_dir");
    int surviving = 0;
    for (const Start& start : starts) {
        EXPECT_EQ(start.result.exitCode, kExitNoJvm) << start.result.out << start.result.err;
        ASSERT_FALSE(start.unixDir.empty());
        for (const auto& name : kIncluded) {
            if (fs::exists(start.unixFile(name))) {
                EXPECT_TRUE(holds(files, start.file(name))) << start.file(name);
            }
        }
        if (fs::exists(start.unixDir)) {
            ++surviving;
            EXPECT_TRUE(holds(dirs, start.dir)) << start.dir;
        }
    }
    // The launcher that registered last did so after every clean-up.
    EXPECT_GE(surviving, 1);

    const Start after = startLauncher(project.exe, dir + "/after");
    EXPECT_EQ(after.result.exitCode, kExitNoJvm);
    for (const Start& start : starts) {
        EXPECT_FALSE(fs::exists(start.unixDir)) << start.dir;
        expectListed(start, false);
    }
}

// A record: its size, then the data XORed with 0x5A.
std::string record(const std::string& data) {
    std::string out;
    appendInt32(out, static_cast<std::int32_t>(data.size()));
    for (char c : data) out.push_back(static_cast<char>(static_cast<unsigned char>(c) ^ 0x5A));
    return out;
}

// More included files than the 8 KB deletion list can name: the list keeps
// the newest entries only, and the next start still removes every file and
// the directory.
TEST(FilesLifecycle, FilesBeyondTheFullListStillGoAtTheNextStart) {
    constexpr int kFiles = 300;
    const std::string dir = testWorkDir();
    const Project other = generatedProject(dir + "/other", "other.exe");
    ConfigStore store = typicalMessages("2");
    std::string names, records;
    for (int i = 0; i < kFiles; ++i) {
        names += "included-file-with-a-rather-long-name-" + std::to_string(i) + ".dat;";
        records += record("x");
    }
    store.setNarrow(id::IncludedFileCount, std::to_string(kFiles));
    store.setNarrow(id::IncludedFileNames, names);
    const std::string exe = dir + "/many.exe";
    ExeBuilder(stubPath(StubKind::Gui)).block(store).raw(records).write(exe);

    const Start first = startLauncher(exe, dir + "/run1");
    EXPECT_EQ(first.result.exitCode, kExitNoJvm);
    ASSERT_FALSE(first.unixDir.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(first.unixDir), fs::directory_iterator()), kFiles);
    EXPECT_TRUE(holds(listed("delete_dir"), first.dir));
    EXPECT_FALSE(holds(listed("delete_file"), first.file("included-file-with-a-rather-long-name-0.dat")));

    const Start next = startLauncher(other.exe, dir + "/run2");
    EXPECT_EQ(next.result.exitCode, kExitNoJvm);
    EXPECT_FALSE(fs::exists(first.unixDir)) << first.dir;
    EXPECT_FALSE(holds(listed("delete_dir"), first.dir));
}

// Launchers whose Java application runs until released (the scripted JNI
// stand-in's "hold"), started together with launchers that only clean up and
// end. No clean-up pass may delete a file of a running launcher: not the
// archive, not a data file the application has not opened (yet). Once all
// have ended, the next start removes everything.
TEST(FilesLifecycle, CleanUpRacingWithRunningLaunchersDeletesNothingInUse) {
    constexpr int kRunning = 4, kCleaners = 4;
    // Within the stand-in's own limit of a hold (three minutes).
    constexpr unsigned kHeldRunMs = 170000;
    const std::string dir = testWorkDir();
    const Project cleaner = generatedProject(dir + "/cleaner", "cleaner.exe");
    const fs::path library = fs::path(dir) / "jre" / "bin" / "client";
    makeRuntime(fs::path(dir) / "jre", "client", "jni-standin/jvm.dll");
    writeText(library / "script.txt",
              "class com/vexal/runtime/WinLauncher\nclass java/lang/String\n"
              "method com/vexal/runtime/WinLauncher main ([Ljava/lang/String;)V\nhold release\n");
    ConfigStore store = typicalMessages("2");
    store.setNarrow(id::SearchSequence, "B" + windowsPath(dir) + "\\jre");
    store.setNarrow(id::MainClass, "com.example.App");
    store.setNarrow(id::IncludedFileCount, "2");
    store.setNarrow(id::IncludedFileNames, "app.jar;settings.dat");
    const std::string exe = dir + "/held.exe";
    const std::string jar = smallJar(), data(20000, 'd');
    ExeBuilder(stubPath(StubKind::Gui)).block(store).raw(record(jar) + record(data)).write(exe);

    std::vector<std::unique_ptr<Subprocess>> running, cleaning;
    for (int i = 0; i < kRunning + kCleaners; ++i) {
        const bool runs = i % 2 == 0;
        const std::string runDir = dir + (runs ? "/run" : "/clean") + std::to_string(i / 2);
        RunnerSpec spec = startSpec(runs ? exe : cleaner.exe, runDir);
        // A held launcher lives through every other start of this case.
        if (runs) spec.timeoutMs = kHeldRunMs;
        (runs ? running : cleaning).push_back(startThroughRunner(spec, runDir));
    }
    for (auto& process : cleaning) EXPECT_EQ(process->finish(kRunLimit).exitCode, kExitNoJvm);
    // Every held launcher is inside main.
    ASSERT_TRUE(waitUntil([&] {
        return count(fs::exists(library / "jni-trace.txt") ? readBinaryFile((library / "jni-trace.txt").string()) : "",
                     "CallStaticVoidMethod main") == kRunning;
    })) << "not every held launcher reached main";
    // One more clean-up now that all of them run.
    const Start late = startLauncher(cleaner.exe, dir + "/late");
    EXPECT_EQ(late.result.exitCode, kExitNoJvm);

    std::vector<Start> starts;
    for (int i = 0; i < kRunning; ++i) starts.push_back(readStart(dir + "/run" + std::to_string(i), ProcessResult{}));
    for (const Start& start : starts) {
        ASSERT_FALSE(start.unixDir.empty());
        EXPECT_EQ(readBinaryFile(start.unixFile("app.jar")), jar) << start.dir;
        EXPECT_EQ(readBinaryFile(start.unixFile("settings.dat")), data) << start.dir;
        expectListed(start, true);
    }

    writeText(library / "release", "");
    for (auto& process : running) EXPECT_EQ(process->finish(kRunLimit).exitCode, 0);
    const Start after = startLauncher(cleaner.exe, dir + "/after");
    EXPECT_EQ(after.result.exitCode, kExitNoJvm);
    for (const Start& start : starts) {
        EXPECT_FALSE(fs::exists(start.unixDir)) << start.dir;
        expectListed(start, false);
    }
}


// The sample search sequence without any runtime: "No JVM found", message
// 1001 once, exit code 83, and the extracted file registered for deletion by
// the next start.
TEST(FilesLifecycle, SampleSequenceWithoutRuntimeListsTheExtractedFile) {
    ConfigStore store = typicalMessages("2");
    store.setNarrow(id::SearchSequence, "B.\\jre;Y;EJAVA_HOME;EJDK_HOME;");
    store.setNarrow(id::LauncherKind, "k");
    store.setNarrow(id::IncludedFileCount, "1");
    store.setNarrow(id::IncludedFileNames, "a.bin");
    const Launcher launcher = makeLauncher(StubKind::Gui, writeConfigBlock(store) + record("whole"));

    const Start start = startLauncher(launcher.exe, launcher.dir + "/run");
    EXPECT_EQ(start.result.exitCode, kExitNoJvm);
    EXPECT_NE(std::find(start.log.begin(), start.log.end(), "ERROR: No JVM found"), start.log.end());
    std::string noJvm = store.narrow(msg::NoJvm);
    noJvm = textMode(noJvm);
    int shown = 0;
    for (std::size_t at = start.result.err.find(noJvm); at != std::string::npos; at = start.result.err.find(noJvm, at + 1))
        ++shown;
    EXPECT_EQ(shown, 1) << start.result.err;
    ASSERT_FALSE(start.unixDir.empty());
    EXPECT_EQ(readBinaryFile(start.unixFile("a.bin")), "whole");
    // Listed by the message and again by the exit: the clean-up copes with repeats.
    EXPECT_TRUE(holds(listed("delete_file"), start.file("a.bin")));
    EXPECT_TRUE(holds(listed("delete_dir"), start.dir));
}

struct FailureCase {
    const char* name;
    const char* names;    // entry 2003
    std::string records;  // behind the block
    const char* code;     // the internal error code
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FilesLifecycleFailure : public ::testing::TestWithParam<FailureCase> {};

// An extraction that fails half-way ends through an error exit, which lists
// the directory, the file written so far and the one that failed; a later
// start removes them.
TEST_P(FilesLifecycleFailure, ListsWhatItWroteForTheNextStart) {
    ConfigStore store = typicalMessages("2");
    store.setNarrow(id::IncludedFileCount, "2");
    store.setNarrow(id::IncludedFileNames, GetParam().names);
    const Launcher launcher = makeLauncher(StubKind::Gui, writeConfigBlock(store) + GetParam().records);

    const Start failed = startLauncher(launcher.exe, launcher.dir + "/run1");
    EXPECT_EQ(failed.result.exitCode, 1);
    // This block's launcher type writes its errors to standard error.
    EXPECT_NE(failed.result.err.find(std::string("(error code: ") + GetParam().code + ")"), std::string::npos)
        << failed.result.err;
    ASSERT_FALSE(failed.unixDir.empty());
    EXPECT_EQ(readBinaryFile(failed.unixFile("a.bin")), "whole");
    EXPECT_TRUE(holds(listed("delete_file"), failed.file("a.bin")));
    EXPECT_TRUE(holds(listed("delete_dir"), failed.dir));

    const std::string plain = launcher.dir + "/plain.exe";
    ExeBuilder(stubPath(StubKind::Gui)).raw(writeConfigBlock(typicalMessages("2"))).write(plain);
    const Start later = startLauncher(plain, launcher.dir + "/run2");
    EXPECT_EQ(later.result.exitCode, kExitNoJvm);
    EXPECT_FALSE(fs::exists(failed.unixDir)) << failed.unixDir;
    const std::vector<std::string> files = listed("delete_file");
    EXPECT_FALSE(holds(files, failed.file("a.bin")));
    EXPECT_FALSE(holds(listed("delete_dir"), failed.dir));
    for (const auto& entry : files) EXPECT_NE(entry.rfind(failed.dir + "\\", 0), 0u) << entry;
}

const FailureCase kFailureCases[] = {
    {"TruncatedData", "a.bin;b.bin", record("whole") + record(std::string(9000, 'x')).substr(0, 8200), "16"},
    {"RefusedName", "a.bin;..\\b.bin", record("whole") + record("evil"), "11"},
};
INSTANTIATE_TEST_SUITE_P(Cases, FilesLifecycleFailure, ::testing::ValuesIn(kFailureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

}  // namespace
}  // namespace vexal::testing
