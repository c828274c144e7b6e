// What another local user can try against a user of the Linux launcher: the
// attacker is the system account "nobody" (through setpriv), the victim this
// test's own user. Each row plants what the attacker can plant in the shared
// temporary directory and checks that the victim's next start neither
// deletes, reads nor writes anything of the victim's through it.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <regex>

#include "common/StoreName.h"
#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/Subprocess.h"

using namespace vexal;
using namespace vexal::testing;
using namespace std::chrono_literals;

namespace {

constexpr uid_t kNobody = 65534;

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

bool present(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> namesIn(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(d);
    }
    return names;
}

// Runs a shell command as "nobody": the attacker's own actions.
int asAttacker(const std::string& command) {
    return std::system(("setpriv --reuid=65534 --regid=65534 --clear-groups sh -c '" + command + "'").c_str());
}

std::string utf16(const std::string& text) {
    std::string out;
    for (char c : text) out += std::string{c, '\0'};
    return out;
}

class LocalAttacker : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0 || getpwuid(kNobody) == nullptr || std::system("command -v setpriv >/dev/null") != 0)
            GTEST_SKIP() << "needs root, the account nobody and setpriv to play a second user";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        work_ = std::string(VEXAL_TEST_WORK) + "/attacker-" + info->name() + "/";
        std::system(("rm -rf '" + work_ + "'").c_str());
        // The work directory is open to the attacker's account so that it can
        // reach the shared temporary directory inside it, which is like /tmp
        // (everyone may write, the sticky bit set); the victim's own places
        // are closed.
        ASSERT_EQ(std::system(("mkdir -p '" + work_ + "tmp' '" + work_ + "state' '" + work_ + "home/folder'").c_str()),
                  0);
        chmod(work_.c_str(), 0755);
        chmod((work_ + "tmp").c_str(), 01777);
        tmp_ = work_ + "tmp/";
        home_ = work_ + "home/";
        store_ = work_ + "state/vexal/";
        exe_ = work_ + "app";
        writeText(home_ + ".bashrc", "the victim's settings\n");
        for (int i = 0; i < 20; ++i) writeText(home_ + "folder/file" + std::to_string(i), "victim");
    }

    ConfigStore config(const std::map<std::int32_t, std::string>& entries = {}) {
        ConfigStore store = typicalMessages("2");
        store.setNarrow(id::SearchSequence, "A/nonexistent-vexal-home");
        for (const auto& e : entries) store.setNarrow(e.first, e.second);
        return store;
    }

    void build(const ConfigStore& store, const std::string& records = "") {
        ExeBuilder(VEXAL_LINUX_STUB).block(store).raw(records).write(exe_);
    }

    // The victim's start: no XDG_RUNTIME_DIR, so the private per-user
    // directory is vexal-<uid> in the shared temporary directory.
    ProcessResult run(const std::vector<std::string>& args = {}, std::map<std::string, std::string> extra = {}) {
        std::vector<std::string> argv{exe_};
        argv.insert(argv.end(), args.begin(), args.end());
        extra.emplace("TMPDIR", tmp_);
        extra.emplace("TMP", tmp_);
        extra.emplace("XDG_STATE_HOME", work_ + "state");
        return runProcess(argv, extra, {"VEXAL_JAVA_HOME", "JAVA_HOME", "JDK_HOME", "XDG_RUNTIME_DIR"}, 30s);
    }

    bool victimIntact() const {
        if (readText(home_ + ".bashrc") != "the victim's settings\n") return false;
        for (int i = 0; i < 20; ++i) {
            if (readText(home_ + "folder/file" + std::to_string(i)) != "victim") return false;
        }
        return true;
    }

    std::string privateDir() const { return tmp_ + "vexal-" + std::to_string(geteuid()) + "/"; }

    // The extraction directory that a logged run named.
    std::string loggedTempDir() const {
        for (const std::string& name : namesIn(tmp_)) {
            if (name.rfind("kvl_nlog_", 0) != 0) continue;
            std::smatch m;
            const std::string log = readText(tmp_ + name);
            if (std::regex_search(log, m, std::regex("Temp dir: ([^\n]*)"))) return m[1];
        }
        return std::string();
    }

    std::string work_, tmp_, home_, store_, exe_;
};

}  // namespace

// A run that was killed left "d <tmp>/vxl_dir..." (or "f ...") in the
// victim's store; its directory has gone (reboot, tmp cleaner) and the
// attacker made one of the same name, with links to the victim's files and
// folders inside. The victim's next ordinary start leaves the attacker's
// directory as it is, deletes nothing of the victim's and drops the entries.
TEST_F(LocalAttacker, CleanUpNeverDeletesThroughAnotherUsersDirectory) {
    const struct Row {
        const char* name;
        std::string plant;  // run as the attacker, in tmp_
        std::string entry;  // the store line
        std::string kept;   // what of the attacker's must still be there
    } rows[] = {
        {"the attacker's directory under the listed name, a link to the victim's folder inside",
         "mkdir -m 0700 vxl_dirA && ln -s " + home_ + "folder vxl_dirA/sub && ln -s " + home_ +
             ".bashrc vxl_dirA/.bashrc",
         "d " + tmp_ + "vxl_dirA", tmp_ + "vxl_dirA/sub"},
        {"the attacker's directory open to everyone, the victim's folder one level down",
         "mkdir -m 0777 vxl_dirB && mkdir -m 0777 vxl_dirB/deep && ln -s " + home_ + "folder vxl_dirB/deep/x",
         "d " + tmp_ + "vxl_dirB", tmp_ + "vxl_dirB/deep/x"},
        {"a link under the listed name to the victim's folder", "ln -s " + home_ + "folder vxl_dirC",
         "d " + tmp_ + "vxl_dirC", tmp_ + "vxl_dirC"},
        {"a file entry that leads into the victim's home through the attacker's link",
         "ln -s " + home_ + " vxl_dirD", "f " + tmp_ + "vxl_dirD/.bashrc", tmp_ + "vxl_dirD"},
        {"a file entry outside any directory of the launcher", "true", "f " + home_ + ".bashrc", home_ + ".bashrc"},
    };
    build(config());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(asAttacker("cd " + tmp_ + " && " + row.plant), 0);
        ASSERT_EQ(std::system(("mkdir -p -m 0700 '" + store_ + "'").c_str()), 0);
        writeText(store_ + "deletions", row.entry + "\n");
        const ProcessResult r = run();
        EXPECT_EQ(r.exitCode, 83) << r.err;
        EXPECT_TRUE(victimIntact());
        EXPECT_TRUE(present(row.kept));
        EXPECT_EQ(readText(store_ + "deletions"), "");
    }
    // The victim's own directory of a crashed run inside the attacker's
    // directory is not reached either; its own crashed directory still goes.
    ASSERT_EQ(mkdir((tmp_ + "vxl_dirOWN").c_str(), 0700), 0);
    ASSERT_EQ(symlink((home_ + "folder").c_str(), (tmp_ + "vxl_dirOWN/link").c_str()), 0);
    ASSERT_EQ(asAttacker("cd " + tmp_ + "vxl_dirB && echo x > mine"), 0);
    writeText(store_ + "deletions", "d " + tmp_ + "vxl_dirOWN\n");
    EXPECT_EQ(run().exitCode, 83);
    EXPECT_FALSE(present(tmp_ + "vxl_dirOWN"));
    EXPECT_TRUE(victimIntact());
    EXPECT_TRUE(present(tmp_ + "vxl_dirB/mine"));
}

// Inside the victim's own extraction directory of a crashed run, a
// sub-directory of another owner is not entered and links are removed as
// links.
TEST_F(LocalAttacker, ForeignSubdirectoriesAreNotEnteredAndLinksNotFollowed) {
    const std::string dir = tmp_ + "vxl_dirCRASHED";
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    writeText(dir + "/app.jar", "x");
    ASSERT_EQ(symlink((home_ + "folder").c_str(), (dir + "/folder").c_str()), 0);
    ASSERT_EQ(mkdir((dir + "/theirs").c_str(), 0755), 0);
    writeText(dir + "/theirs/kept", "theirs");
    ASSERT_EQ(chown((dir + "/theirs").c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(std::system(("mkdir -p -m 0700 '" + store_ + "'").c_str()), 0);
    writeText(store_ + "deletions", "d " + dir + "\n");
    build(config());
    EXPECT_EQ(run().exitCode, 83);
    EXPECT_TRUE(victimIntact());
    EXPECT_FALSE(present(dir + "/app.jar"));
    EXPECT_FALSE(present(dir + "/folder"));
    EXPECT_EQ(readText(dir + "/theirs/kept"), "theirs");
}

// Extraction directories lie in a private per-user directory, not loose in
// the shared one: $XDG_RUNTIME_DIR/vexal/ when that is the user's own and
// closed, else vexal-<uid>/ in TMPDIR. A name that the attacker holds (a
// directory of theirs, a link, one of ours with the wrong mode) is never
// used; the run then extracts into a fresh mkdtemp directory of its own.
TEST_F(LocalAttacker, ExtractionDirectoriesLieInThePrivatePerUserDirectory) {
    const std::string runtime = work_ + "run";
    const std::string uid = std::to_string(geteuid());
    const struct Row {
        const char* name;
        std::string prepare;      // run as this user before the start
        std::string attack;       // run as the attacker before the start
        std::string runtimeDir;   // XDG_RUNTIME_DIR, "" for none
        std::string parent;       // where the extraction directory must lie
    } rows[] = {
        {"the session's runtime directory", "mkdir -m 0700 " + runtime, "true", runtime, runtime + "/vexal/"},
        {"no runtime directory", "true", "true", "", privateDir()},
        {"a runtime directory others may enter", "mkdir -m 0755 " + runtime, "true", runtime, privateDir()},
        {"the name held by the attacker's directory", "true", "mkdir -m 0777 " + tmp_ + "vexal-" + uid, "", tmp_},
        {"the name held by the attacker's link", "mkdir -m 0700 " + work_ + "mine", "ln -s " + work_ + "mine " + tmp_ + "vexal-" + uid, "", tmp_},
        {"the name held by our own directory of another mode", "mkdir -m 0755 " + tmp_ + "vexal-" + uid, "true", "", tmp_},
    };
    build(config({{id::IncludedFileCount, "1"}, {id::IncludedFileNames, "data.txt"}}), record("hello"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::system(("rm -rf '" + runtime + "' '" + tmp_ + "'* '" + work_ + "mine'").c_str());
        ASSERT_EQ(std::system(row.prepare.c_str()), 0);
        ASSERT_EQ(asAttacker(row.attack), 0);
        std::map<std::string, std::string> extra{{"VEXAL_LOG", "yes"}};
        if (!row.runtimeDir.empty()) extra.emplace("XDG_RUNTIME_DIR", row.runtimeDir);
        const ProcessResult r = run({}, extra);
        EXPECT_EQ(r.exitCode, 83) << r.err;
        const std::string dir = loggedTempDir();
        ASSERT_EQ(dir.rfind(row.parent + "vxl_dir", 0), 0u) << dir;
        EXPECT_EQ(dir.find('/', row.parent.size()), std::string::npos) << dir;
        EXPECT_FALSE(present(dir));
        if (row.parent != tmp_) {
            struct stat info {};
            ASSERT_EQ(lstat(row.parent.c_str(), &info), 0);
            EXPECT_TRUE(S_ISDIR(info.st_mode));
            EXPECT_EQ(info.st_mode & 07777, 0700u);
            EXPECT_EQ(info.st_uid, geteuid());
        }
        EXPECT_TRUE(namesIn(work_ + "mine").empty());
    }
}

// The hand-over file lies in the private directory. What the attacker plants
// under its old name in the shared directory (a link to the victim's file)
// is neither waited for nor written through; a link under the name in the
// private directory (which only the user can make) is replaced, never
// followed. The file is written whole under a fresh name and renamed.
TEST_F(LocalAttacker, HandOverFileCannotBePlantedOrRedirected) {
    build(config({{id::SingleInstance, "1"}}));
    ASSERT_EQ(std::system(("mkdir -p -m 0700 '" + store_ + "instances' '" + store_ + "pids'").c_str()), 0);
    const int marker = open((store_ + "instances/" + storeFileName(exe_)).c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(flock(marker, LOCK_EX | LOCK_NB), 0);
    const std::uint32_t pid = static_cast<std::uint32_t>(getpid());
    writeText(store_ + "pids/" + storeFileName(exe_), std::string(reinterpret_cast<const char*>(&pid), 4));
    const std::string name = "vxl_p" + std::to_string(pid) + ".tmp";
    ASSERT_EQ(asAttacker("ln -s " + home_ + ".bashrc " + tmp_ + name), 0);
    ASSERT_EQ(std::system(("mkdir -m 0700 '" + privateDir() + "'").c_str()), 0);
    ASSERT_EQ(symlink((home_ + "through-the-link").c_str(), (privateDir() + name).c_str()), 0);

    const ProcessResult r = run({"--load-plugin", "two words"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(victimIntact());
    EXPECT_FALSE(present(home_ + "through-the-link"));
    struct stat info {};
    ASSERT_EQ(lstat((privateDir() + name).c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(readText(privateDir() + name), utf16("--load-plugin \"two words\"\n"));
    EXPECT_EQ(namesIn(privateDir()), std::vector<std::string>{name});  // no fresh name left behind
    EXPECT_TRUE(present(tmp_ + name));
    close(marker);
}

// The log's fall-back never opens a fixed name: with no unique file possible
// in TMP or /tmp and the attacker's link at /tmp/kvl_nlog to the victim's
// file, the victim's file stays as it was and the log goes to standard
// error. In a mount namespace of the test's own, the work directory is
// reached as /mnt and /tmp is a fresh, then read-only, tmpfs.
TEST_F(LocalAttacker, LogFallBackNeverOpensAFixedName) {
    if (std::system("unshare --mount true 2>/dev/null") != 0 || access("/mnt", F_OK) != 0)
        GTEST_SKIP() << "no mount namespaces here";
    build(config());
    const std::string script =
        "mount --bind '" + work_ + "' /mnt && mount -t tmpfs -o mode=1777 tmpfs /tmp && "
        "setpriv --reuid=65534 --regid=65534 --clear-groups ln -s /mnt/home/.bashrc /tmp/kvl_nlog && "
        "mount -o remount,ro /tmp && "
        "VEXAL_LOG=yes TMP=/tmp TMPDIR=/tmp XDG_STATE_HOME=/mnt/state /mnt/app > /mnt/out 2> /mnt/err";
    writeText(work_ + "script", script);
    const std::string command = "env -u JAVA_HOME -u VEXAL_JAVA_HOME -u JDK_HOME -u XDG_RUNTIME_DIR unshare --mount sh '" +
                                work_ + "script'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 83) << status << readText(work_ + "err");
    EXPECT_TRUE(victimIntact());
    const std::string err = readText(work_ + "err");
    EXPECT_EQ(err.rfind("Started executable /mnt/app", 0), 0u) << err;
    EXPECT_NE(err.find("No JVM could be found"), std::string::npos) << err;
    EXPECT_EQ(err.find("Log:"), std::string::npos) << err;
}

// A bundled runtime whose path holds a blank and shell characters: the
// packed archives are restored by the runtime's own tool, started with an
// argument vector; no shell runs what the path says.
TEST_F(LocalAttacker, PackedRuntimePathNeverReachesAShell) {
    const std::string home = work_ + "my app/jre$(id>poc)";
    ASSERT_EQ(std::system(("mkdir -p '" + work_ + "my app/jre$(id>poc)/lib' '" + work_ + "my app/jre$(id>poc)/bin'")
                              .c_str()),
              0);
    writeText(home + "/lib/rt.jar.pack", "packed");
    writeText(home + "/lib/jsse.jar.pack", "packed");
    // The tool records its arguments, one a line, and restores the archive.
    writeText(home + "/bin/unpack200",
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$UNPACK_LOG\"\ncp \"$2\" \"$3\"\n"
              "rm \"$2\"\n");
    chmod((home + "/bin/unpack200").c_str(), 0755);
    build(config({{id::SearchSequence, "A" + home}}));
    const ProcessResult r = run({}, {{"UNPACK_LOG", work_ + "unpack.log"}});
    EXPECT_EQ(r.exitCode, 83) << r.err;
    EXPECT_EQ(readText(work_ + "unpack.log"), "-r\n" + home + "/lib/rt.jar.pack\n" + home + "/lib/rt.jar\n-r\n" + home +
                                                  "/lib/jsse.jar.pack\n" + home + "/lib/jsse.jar\n");
    EXPECT_EQ(readText(home + "/lib/jsse.jar"), "packed");
    for (const std::string& dir : {work_, work_ + "my app/", std::string("./")}) EXPECT_FALSE(present(dir + "poc"));
}
