// The Linux launcher run for real: block errors, the missing runtime, the
// extraction directory's life (normal end, error end, crash and the next
// start), and single instance against an instance that this test plays.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "common/StoreName.h"
#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/Subprocess.h"
#include "tests/support/Waiting.h"

using namespace vexal;
using namespace vexal::testing;
using namespace std::chrono_literals;

namespace {

constexpr const char* kNoJvmStart = "No JVM could be found on your system.";

std::string record(const std::string& data) {
    std::string out;
    appendInt32(out, static_cast<std::int32_t>(data.size()));
    for (char c : data) out += static_cast<char>(c ^ 0x5A);
    return out;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::string> extractionDirs(const std::string& dir) {
    std::vector<std::string> found;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d)) {
            if (std::string(e->d_name).rfind("vxl_dir", 0) == 0) found.push_back(dir + e->d_name);
        }
        closedir(d);
    }
    return found;
}

bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

class LinuxLauncher : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        work_ = std::string(VEXAL_TEST_WORK) + "/" + info->name() + "/";
        std::system(("rm -rf '" + work_ + "'").c_str());
        ASSERT_EQ(std::system(("mkdir -p '" + work_ + "tmp' '" + work_ + "state' '" + work_ + "run'").c_str()), 0);
        ASSERT_EQ(chmod((work_ + "run").c_str(), 0700), 0);
        tmp_ = work_ + "tmp/";
        private_ = work_ + "run/vexal/";
        store_ = work_ + "state/vexal/";
        exe_ = work_ + "app";
    }

    // typical messages, a search that finds nothing, extra entries.
    ConfigStore config(const std::map<std::int32_t, std::string>& entries = {}) {
        ConfigStore store = typicalMessages("2");
        store.setNarrow(id::SearchSequence, "A/nonexistent-vexal-home");
        for (const auto& e : entries) store.setNarrow(e.first, e.second);
        return store;
    }

    void build(const ConfigStore& store, const std::string& records = "") {
        ExeBuilder(VEXAL_LINUX_STUB).block(store).raw(records).write(exe_);
    }

    std::map<std::string, std::string> environment() const {
        return {{"TMPDIR", tmp_}, {"XDG_STATE_HOME", work_ + "state"}, {"TMP", tmp_}, {"XDG_RUNTIME_DIR", work_ + "run"}};
    }

    ProcessResult run(const std::vector<std::string>& args = {}) {
        std::vector<std::string> argv{exe_};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProcess(argv, environment(), {"VEXAL_JAVA_HOME", "JAVA_HOME", "JDK_HOME"}, 20s);
    }

    // Plays the running instance of exe_: holds its marker, stores this
    // process's id and leaves a communication file for the second start to
    // wait on. Returns the marker's descriptor.
    int playRunningInstance(bool leaveCommFile) {
        EXPECT_EQ(std::system(("mkdir -p '" + store_ + "instances' '" + store_ + "pids'").c_str()), 0);
        const int fd = open((store_ + "instances/" + storeFileName(exe_)).c_str(), O_RDWR | O_CREAT, 0600);
        EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
        const std::uint32_t pid = static_cast<std::uint32_t>(getpid());
        writeText(store_ + "pids/" + storeFileName(exe_), std::string(reinterpret_cast<const char*>(&pid), 4));
        if (leaveCommFile) {
            EXPECT_EQ(std::system(("mkdir -p -m 0700 '" + private_ + "'").c_str()), 0);
            writeText(commFile(), "");
        }
        return fd;
    }

    std::string commFile() const { return private_ + "vxl_p" + std::to_string(getpid()) + ".tmp"; }

    // Waits for the launcher's extraction directory to appear.
    std::string awaitExtractionDir() {
        std::string found;
        waitUntil([&] {
            const auto dirs = extractionDirs(private_);
            // The file exists before its content is written: wait for both.
            if (dirs.empty() || readText(dirs[0] + "/data.txt").empty()) return false;
            found = dirs[0];
            return true;
        });
        return found;
    }

    std::string work_, tmp_, private_, store_, exe_;
};

}  // namespace

TEST_F(LinuxLauncher, BareStubFailsToReadItsBlock) {
    const ProcessResult r = runProcess({VEXAL_LINUX_STUB}, environment(), {}, 10s);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "error 0\n");
    EXPECT_EQ(r.err, "Internal Error: readInt\n");
}

TEST_F(LinuxLauncher, DamagedBlocksGiveTheirFixedTexts) {
    struct Row {
        const char* name;
        std::string bytes;
        const char* err;
    } rows[] = {
        {"wrong magic", std::string("\x01\x02\x03\x04", 4), "Internal Error: magic\n"},
        {"cut after the magic", writeConfigBlock(config()).substr(0, 6), "Internal Error: readInt\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExeBuilder(VEXAL_LINUX_STUB).raw(row.bytes).write(exe_);
        const ProcessResult r = run();
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, row.err);
    }
}

TEST_F(LinuxLauncher, NoRuntimeGives1001AndExit83OnStandardError) {
    build(config());
    const ProcessResult r = run({"one", "two words"});
    EXPECT_EQ(r.exitCode, 83);
    EXPECT_EQ(r.err.rfind(kNoJvmStart, 0), 0u) << r.err;
    // The configured text's Windows line ends reach the terminal as bare
    // line feeds.
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("system.\nPlease define"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

// An error end removes the extraction directory at once and leaves nothing
// in the deletion list.
TEST_F(LinuxLauncher, ExtractionDirectoryGoneAfterAnErrorEnd) {
    build(config({{id::IncludedFileCount, "2"}, {id::IncludedFileNames, "data.txt;lib.jar"}}),
          record("hello") + record("PK"));
    const ProcessResult r = run();
    EXPECT_EQ(r.exitCode, 83) << r.err;
    EXPECT_TRUE(extractionDirs(private_).empty());
    EXPECT_EQ(readText(store_ + "deletions"), "");
}

// While the launcher holds (a second start waiting for the running
// instance's communication file to go), its files lie in a private 0700
// directory in the private per-user directory, listed in the store. The hand-over ends it with 0
// and the directory goes.
TEST_F(LinuxLauncher, ExtractionIntoPrivateDirectoryAndSingleInstanceHandOver) {
    build(config({{id::IncludedFileCount, "1"}, {id::IncludedFileNames, "data.txt"}, {id::SingleInstance, "1"}}),
          record("hello"));
    const int marker = playRunningInstance(true);
    Subprocess second({exe_, "open", "a b", "say \"hi\""}, environment());
    const std::string dir = awaitExtractionDir();
    ASSERT_FALSE(dir.empty());
    struct stat info {};
    ASSERT_EQ(stat(dir.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(readText(dir + "/data.txt"), "hello");
    EXPECT_EQ(readText(store_ + "deletions"), "d " + dir + "\n");

    unlink(commFile().c_str());
    const ProcessResult r = second.finish(20s);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string expected = "open \"a b\" 'say \"hi\"'\n";
    std::string utf16;
    for (char c : expected) utf16 += std::string{c, '\0'};
    EXPECT_EQ(readText(commFile()), utf16);
    EXPECT_FALSE(exists(dir));
    EXPECT_EQ(readText(store_ + "deletions"), "");
    unlink(commFile().c_str());
    close(marker);
}

// A run killed while it holds leaves its directory; the next start removes
// it, whatever instance it is.
TEST_F(LinuxLauncher, CrashedRunsDirectoryRemovedByTheNextStart) {
    build(config({{id::IncludedFileCount, "1"}, {id::IncludedFileNames, "data.txt"}, {id::SingleInstance, "1"}}),
          record("hello"));
    const int marker = playRunningInstance(true);
    Subprocess crashing({exe_}, environment());
    const std::string dir = awaitExtractionDir();
    ASSERT_FALSE(dir.empty());
    kill(crashing.pid(), SIGKILL);
    crashing.finish(10s);
    ASSERT_TRUE(exists(dir + "/data.txt"));
    close(marker);
    unlink(commFile().c_str());

    const ProcessResult next = run();
    EXPECT_EQ(next.exitCode, 83) << next.err;
    EXPECT_FALSE(exists(dir));
    EXPECT_TRUE(extractionDirs(private_).empty());
    EXPECT_EQ(readText(store_ + "deletions"), "");
}

// The clean-up leaves alone a directory that a living run holds and any
// listed directory that is not an extraction directory (dropping its line).
TEST_F(LinuxLauncher, CleanUpSparesHeldAndForeignDirectories) {
    const std::string held = tmp_ + "vxl_dirHELD";
    const std::string dead = tmp_ + "vxl_dirDEAD";
    const std::string foreign = work_ + "precious";
    for (const std::string& d : {held, dead, foreign}) {
        ASSERT_EQ(mkdir(d.c_str(), 0700), 0);
        writeText(d + "/file", "x");
    }
    const int lock = open(held.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(std::system(("mkdir -p '" + store_ + "'").c_str()), 0);
    writeText(store_ + "deletions", "d " + held + "\nd " + dead + "\nd " + foreign + "\n");

    build(config());
    EXPECT_EQ(run().exitCode, 83);
    EXPECT_TRUE(exists(held + "/file"));
    EXPECT_FALSE(exists(dead));
    EXPECT_TRUE(exists(foreign + "/file"));
    EXPECT_EQ(readText(store_ + "deletions"), "d " + held + "\n");
    close(lock);
}

// The first instance stores its own id; a marker left by a dead process is
// free again (the kernel released it).
TEST_F(LinuxLauncher, FirstInstanceStoresItsProcessId) {
    build(config({{id::SingleInstance, "1"}}));
    Subprocess first({exe_}, environment());
    const pid_t pid = first.pid();
    EXPECT_EQ(first.finish(20s).exitCode, 83);
    const std::string stored = readText(store_ + "pids/" + storeFileName(exe_));
    ASSERT_EQ(stored.size(), 4u);
    std::uint32_t value = 0;
    std::memcpy(&value, stored.data(), 4);
    EXPECT_EQ(value, static_cast<std::uint32_t>(pid));
    EXPECT_EQ(run().exitCode, 83);  // not taken for a second instance
}

// Hostile executables on the Linux launcher: cut at every byte of the block
// and at points of the included data, counts and lengths beyond the file,
// 10,000 entries, long values and escaping names. Each run ends with its
// fixed text or message and exit code, and leaves no extraction directory.
namespace {

std::string int32(std::int32_t value) {
    std::string out;
    appendInt32(out, value);
    return out;
}

std::string internalErrorText(const char* code) {
    return std::string("An internal error occurred (error code: ") + code + ")\n";
}

}  // namespace

TEST_F(LinuxLauncher, CutAnywhereEndsWithTheTextOfTheCutField) {
    ConfigStore store = config({{id::IncludedFileCount, "2"}, {id::IncludedFileNames, "a.bin;b.bin"}});
    store.setWide(7, u"wide");
    const std::string block = writeConfigBlock(store);
    const std::string records = record(std::string(20000, 'x')) + record("tail");
    // The reader's text when the file ends at each byte of the block, and
    // where each field starts; walked from the block's own layout.
    std::vector<std::string> textAt(block.size(), "Internal Error: readInt\n");
    std::vector<std::size_t> starts = {0, 4};
    std::size_t at = 8;
    auto text = [&](std::size_t size, const char* error) {
        starts.push_back(at);
        starts.push_back(at + 4);
        at += 8;
        if (size > 0) starts.push_back(at);
        for (std::size_t i = 0; i < size; ++i) textAt[at + i] = error;
        at += size;
    };
    for (const auto& entry : store.narrowEntries()) text(entry.second.size(), "Internal Error: readString\n");
    starts.push_back(at);
    at += 4;
    for (const auto& entry : store.wideEntries()) text(entry.second.size() * 2, "Internal Error: readWString\n");
    ASSERT_EQ(at, block.size());

    // Every field cut at its start and one byte in.
    std::vector<std::pair<std::size_t, std::string>> cuts;
    for (std::size_t start : starts) {
        for (std::size_t keep : {start, start + 1}) {
            if (keep < block.size()) cuts.emplace_back(keep, textAt[keep]);
        }
    }
    const std::size_t data = block.size() + 4;
    for (std::size_t keep : {block.size(), block.size() + 2}) cuts.emplace_back(keep, "Internal Error: readInt\n");
    for (std::size_t keep : {data, data + 1, data + 8191, data + 8192, data + 8193, data + 19999, data + 20004})
        cuts.emplace_back(keep, internalErrorText("16"));
    cuts.emplace_back(block.size() + records.size() - 1, internalErrorText("16"));

    for (const auto& cut : cuts) {
        SCOPED_TRACE("cut at " + std::to_string(cut.first));
        ExeBuilder(VEXAL_LINUX_STUB).raw((block + records).substr(0, cut.first)).write(exe_);
        const ProcessResult r = run();
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, cut.second);
        EXPECT_TRUE(extractionDirs(private_).empty());
    }
}

TEST_F(LinuxLauncher, CountsAndLengthsBeyondTheFileAreRefused) {
    const std::string magic = int32(static_cast<std::int32_t>(kBlockMagic));
    const std::string withFiles =
        writeConfigBlock(config({{id::IncludedFileCount, "1"}, {id::IncludedFileNames, "a.bin"}}));
    struct Row {
        const char* name;
        std::string bytes;
        int exitCode;
        std::string err;
    } rows[] = {
        {"narrow count", magic + int32(0x7FFFFFFF) + int32(101) + int32(1) + "x", 1, "Internal Error: readInt\n"},
        {"wide count", magic + int32(0) + int32(0x7FFFFFFF) + int32(1) + int32(2) + "xy", 1,
         "Internal Error: readInt\n"},
        {"narrow length", magic + int32(1) + int32(101) + int32(0x7FFFFFF0) + std::string(64, 'x'), 1,
         "Internal Error: readString\n"},
        {"wide length", magic + int32(0) + int32(1) + int32(1) + int32(0x7FFFFFFE) + std::string(64, 'x'), 1,
         "Internal Error: readWString\n"},
        {"record size", withFiles + int32(0x7FFFFFFF) + "abc", 1, internalErrorText("16")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExeBuilder(VEXAL_LINUX_STUB).raw(row.bytes).write(exe_);
        const auto start = std::chrono::steady_clock::now();
        const ProcessResult r = run();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
        EXPECT_EQ(r.exitCode, row.exitCode);
        EXPECT_EQ(r.err, row.err);
        EXPECT_TRUE(extractionDirs(private_).empty());
    }
}

TEST_F(LinuxLauncher, TenThousandEntriesAndIncludedFiles) {
    ConfigStore store = config();
    std::string names, records;
    for (int i = 0; i < 10000; ++i) {
        store.setNarrow(20000 + i, "value " + std::to_string(i));
        store.setWide(20000 + i, u"wide");
        names += "f" + std::to_string(i) + ";";
        records += record(i % 2 ? "x" : "");
    }
    store.setNarrow(id::IncludedFileCount, "10000");
    store.setNarrow(id::IncludedFileNames, names);
    build(store, records);
    const ProcessResult r = run();
    EXPECT_EQ(r.exitCode, 83);
    EXPECT_EQ(r.err.rfind(kNoJvmStart, 0), 0u) << r.err.substr(0, 200);
    EXPECT_TRUE(extractionDirs(private_).empty());
}

// Values at and beyond the 8192-byte text buffers.
TEST_F(LinuxLauncher, LongValuesEndAsUsual) {
    for (std::size_t size : {8191u, 8192u, 100000u}) {
        const std::string value(size, 'v');
        struct Row {
            const char* name;
            std::int32_t id;
            std::string value;
            int exitCode;
            std::string errStart;
        } rows[] = {
            // A message is cut to its 8192-byte buffer.
            {"no-JVM message", msg::NoJvm, value, 83, value.substr(0, 8191) + "\n"},
            {"caption", msg::Caption, value, 83, kNoJvmStart},
            {"search sequence", id::SearchSequence, "A/" + value, 83, kNoJvmStart},
            {"path prefix", id::PathPrefix, "/" + value + ":/tmp", 83, kNoJvmStart},
            {"installation root", id::InstallRoot, "/" + value, 83, kNoJvmStart},
            {"included name", id::IncludedFileNames, "a.bin;" + value, 1, internalErrorText("11")},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + " " + std::to_string(size));
            ConfigStore store = config({{id::IncludedFileCount, "2"}, {id::IncludedFileNames, "a.bin"}});
            store.setNarrow(row.id, row.value);
            build(store, record("one") + record("two"));
            const ProcessResult r = run();
            EXPECT_EQ(r.exitCode, row.exitCode);
            EXPECT_EQ(r.err.rfind(row.errStart, 0), 0u) << r.err.substr(0, 200);
            EXPECT_TRUE(extractionDirs(private_).empty());
        }
    }
}

TEST_F(LinuxLauncher, EscapingIncludedNamesAreRefused) {
    for (const char* name : {"../evil", "../../evil", "/tmp/evil", "..", ".", "a/b", "\\evil"}) {
        SCOPED_TRACE(name);
        build(config({{id::IncludedFileCount, "2"}, {id::IncludedFileNames, std::string("good;") + name}}),
              record("good") + record("evil"));
        const ProcessResult r = run();
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, internalErrorText("11"));
        EXPECT_FALSE(exists(work_ + "evil"));
        EXPECT_FALSE(exists(work_ + "tmp/evil"));
        EXPECT_TRUE(extractionDirs(private_).empty());
    }
}
