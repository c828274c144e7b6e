// The Linux launcher end to end on the machine's real JDKs: executables made
// of the Linux stub and a configuration block (the example by the generator
// from its project file with arch = "linux-x64"), started as ordinary
// processes with their own state and temporary directories.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "tests/support/Subprocess.h"

namespace fs = std::filesystem;
using vexal::testing::ProcessResult;
using vexal::testing::runProcess;
using vexal::testing::Subprocess;
using namespace vexal;

namespace {

const std::string kJdk17 = VEXAL_JDK_HOME;
constexpr auto kLimit = std::chrono::seconds(60);

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string joined(const std::vector<std::string>& items, const char* separator = ";") {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) text += (i ? separator : "") + items[i];
    return text;
}

// What the project file of one case says; the defaults start the test
// application on OpenJDK 17 through search letter A.
struct Project {
    std::vector<std::string> classPath{"A1linuxapp.jar"};
    std::vector<std::string> searchSequence{"A" + kJdk17};
    std::string minVersion = "1.8";
    std::string maxVersion;
    std::vector<std::string> vmOptions{"-Xmx64m"};
    std::vector<std::string> arguments;
    bool singleInstance = false;
};

// A Java home that reports another version: bin/java prints the given banner
// (and records that it ran), lib/ is the real JDK's, so the JVM it loads is
// that JDK's HotSpot.
void makeFakeHome(const std::string& home, const std::string& version) {
    fs::create_directories(home + "/bin");
    const std::string java = home + "/bin/java";
    writeText(java, "#!/bin/sh\necho ran >> \"" + home + "/probed\"\necho 'openjdk version \"" + version +
                        "\" 2030-01-01' >&2\nexit 0\n");
    chmod(java.c_str(), 0755);
    fs::create_directory_symlink(kJdk17 + "/lib", home + "/lib");
}

class LinuxJvm : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        dir_ = std::string(VEXAL_LINUX_WORK) + "/" + name;
        fs::remove_all(dir_);
        fs::create_directories(dir_ + "/state");
        fs::create_directories(dir_ + "/tmp");
        fs::copy_file(VEXAL_LINUX_APP_JAR, dir_ + "/linuxapp.jar");
    }

    // Writes dir/<name>: the Linux stub with the project's block behind its
    // image. The launcher's Java runtime is an item of the class path.
    std::string build(const Project& project, const std::string& name = "app") {
        ConfigStore store;
        const auto set = [&store](std::int32_t entry, const std::string& value) { store.setNarrow(entry, value); };
        set(id::ExecutableType, "2");
        set(id::MainClass, "com.example.linuxapp.LinuxApp");
        set(id::ClassPath, joined(project.classPath) + ";A1" + std::string(VEXAL_RUNTIME_JAR));
        set(id::VmParameters, joined(project.vmOptions, " "));
        set(id::ProgramArguments, joined(project.arguments, " "));
        set(id::AllowJArguments, "1");
        set(id::MinVersion, project.minVersion);
        set(id::MaxVersion, project.maxVersion);
        set(id::SearchSequence, joined(project.searchSequence));
        set(id::AcceptBeta, "1");
        set(id::LauncherKind, "v");
        set(id::InstallRoot, ".");
        set(id::WorkingDirectory, ".");
        set(id::SingleInstance, project.singleInstance ? "1" : "0");
        set(msg::Caption, "Linux app");
        set(msg::NoJvm, "No JVM could be found on your system.");
        set(msg::JvmNotStarted, "The JVM could not be started. The main method may have thrown an exception.");
        set(msg::ClassPathMissing, "File or directory %FILE_NAME% not found or empty");
        set(msg::EnvVarUndefined, "The environment variable %ENV_VAR_NAME% has to be defined");
        set(msg::DirJvmDamaged, "The JVM found at %DEFINED_PATH% is damaged.");
        const std::string exe = dir_ + "/" + name;
        writeText(exe, readText(VEXAL_LINUX_STUB) + writeConfigBlock(store));
        chmod(exe.c_str(), 0755);
        return exe;
    }

    std::map<std::string, std::string> environment(std::map<std::string, std::string> extra = {}) const {
        extra.emplace("XDG_STATE_HOME", dir_ + "/state");
        extra.emplace("TMPDIR", dir_ + "/tmp");
        extra.emplace("TMP", dir_ + "/tmp");
        return extra;
    }

    ProcessResult run(const std::string& exe, const std::vector<std::string>& arguments,
                      std::map<std::string, std::string> extra = {}) {
        std::vector<std::string> argv{exe};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return runProcess(argv, environment(std::move(extra)), {"VEXAL_JAVA_HOME", "JAVA_TOOL_OPTIONS"}, kLimit);
    }

    // A run with the diagnostic log on; returns the log's text.
    std::string loggedRun(const std::string& exe, const std::vector<std::string>& arguments, ProcessResult& r) {
        r = run(exe, arguments, {{"VEXAL_LOG", "yes"}});
        std::string log;
        for (const auto& entry : fs::directory_iterator(dir_ + "/tmp")) {
            if (entry.path().filename().string().rfind("kvl_nlog", 0) == 0) log += readText(entry.path().string());
        }
        return log;
    }

    std::string dir_;
};

TEST_F(LinuxJvm, HelloExampleStartsAndPrints) {
    fs::copy_file(VEXAL_HELLO_JAR, dir_ + "/hello.jar");
    const std::string exe = dir_ + "/hello";
    const ProcessResult b = runProcess({VEXAL_GENERATOR, "build", VEXAL_HELLO_PROJECT, "-o", exe, "--stubs",
                                        VEXAL_STUBS_DIR, "--set", "arch=linux-x64", "--quiet"},
                                       {}, {}, kLimit);
    // Until the generator knows the Linux target the example is not built.
    if (b.exitCode != 0 && contains(b.out + b.err, "arch")) GTEST_SKIP() << b.out << b.err;
    ASSERT_EQ(b.exitCode, 0) << b.out << b.err;
    const ProcessResult r = run(exe, {"one", "two words"}, {{"JAVA_HOME", kJdk17}});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Hello from Vexal\nargument 1: one\nargument 2: two words\n") << r.err;
}

TEST_F(LinuxJvm, EndOfMainDecidesTheExitCode) {
    const std::string exe = build(Project{});
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        int exitCode;
        const char* stderrPart;
    } rows[] = {
        {"normal end", {"greet"}, 0, ""},
        {"exception in main: message 1005", {"throw"}, 1,
         "The JVM could not be started. The main method may have thrown an exception."},
        {"System.exit", {"exit", "3"}, 3, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ProcessResult r = run(exe, row.arguments);
        EXPECT_EQ(r.exitCode, row.exitCode) << r.out << r.err;
        EXPECT_TRUE(contains(r.out, "LinuxApp started\n")) << r.out << r.err;
        EXPECT_TRUE(contains(r.err, row.stderrPart)) << r.err;
    }
    const ProcessResult thrown = run(exe, {"throw"});
    EXPECT_TRUE(contains(thrown.err, "java.lang.IllegalStateException: failed on purpose")) << thrown.err;
}

TEST_F(LinuxJvm, MissingRuntimeGives1001AndExit83) {
    Project project;
    project.searchSequence = {"A" + dir_ + "/nojava", "EVEXAL_TEST_NO_SUCH_VARIABLE"};
    const ProcessResult r = run(build(project), {});
    EXPECT_EQ(r.exitCode, 83) << r.out << r.err;
    EXPECT_TRUE(contains(r.err, "No JVM could be found on your system.")) << r.err;
    EXPECT_FALSE(contains(r.out, "LinuxApp started"));
}

TEST_F(LinuxJvm, VersionBoundsChooseBetweenTwoHomesThroughA) {
    const std::string fake = dir_ + "/fake99";
    makeFakeHome(fake, "99.0.1");
    const struct {
        const char* name;
        const char* minimum;
        const char* maximum;
        int exitCode;
        std::string library;  // the libjvm.so the log says was loaded first
    } rows[] = {
        {"only 17 within the bounds", "17", "17", 0, kJdk17 + "/lib/server/libjvm.so"},
        {"only the fake home within the bounds", "99", "", 0, fake + "/lib/server/libjvm.so"},
        {"neither within the bounds", "18", "98", 83, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Project project;
        project.searchSequence = {"A" + fake, "A" + kJdk17};
        project.minVersion = row.minimum;
        project.maxVersion = row.maximum;
        ProcessResult r;
        const std::string log = loggedRun(build(project), {"greet"}, r);
        fs::remove_all(dir_ + "/tmp");
        fs::create_directories(dir_ + "/tmp");
        EXPECT_EQ(r.exitCode, row.exitCode) << r.err << log;
        if (!row.library.empty()) {
            EXPECT_TRUE(contains(log, "Trying " + row.library + " (exists 1)")) << log;
            EXPECT_TRUE(contains(r.out, "LinuxApp started")) << r.out << r.err;
        }
    }
}

// A Java home whose libjvm.so is built for another machine (as its ELF
// header says) is passed over with one log line, before any probe, and the
// search goes on to the next home; before, its library failed to load and
// the run ended with "damaged".
TEST_F(LinuxJvm, RuntimeOfAnotherMachineIsPassedOver) {
    const std::string real = readText(kJdk17 + "/lib/server/libjvm.so").substr(0, 4096);
    ASSERT_EQ(real.substr(0, 4), "\x7f" "ELF");
    const struct {
        const char* name;
        unsigned char elfClass;
        std::uint16_t machine;
    } rows[] = {{"aarch64", 2, 183}, {"i386", 1, 3}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string home = dir_ + "/" + row.name;
        makeFakeHome(home, "17.0.99");
        fs::remove(home + "/lib");
        fs::create_directories(home + "/lib/server");
        std::string header = real;
        header[4] = static_cast<char>(row.elfClass);
        header[18] = static_cast<char>(row.machine & 0xFF);
        header[19] = static_cast<char>(row.machine >> 8);
        writeText(home + "/lib/server/libjvm.so", header);

        Project project;
        project.searchSequence = {"A" + home, "A" + kJdk17};
        ProcessResult r;
        const std::string log = loggedRun(build(project), {"greet"}, r);
        fs::remove_all(dir_ + "/tmp");
        fs::create_directories(dir_ + "/tmp");
        EXPECT_EQ(r.exitCode, 0) << r.err << log;
        EXPECT_TRUE(contains(log, home + "/lib/server/libjvm.so is not a 64-bit runtime\n")) << log;
        EXPECT_TRUE(contains(log, "Trying " + kJdk17 + "/lib/server/libjvm.so (exists 1)")) << log;
        EXPECT_TRUE(contains(r.out, "LinuxApp started")) << r.out << r.err;
        EXPECT_FALSE(fs::exists(home + "/probed"));
    }
}

TEST_F(LinuxJvm, VersionCacheSavesTheSecondProbe) {
    const std::string fake = dir_ + "/fake99";
    makeFakeHome(fake, "99.0.1");
    Project project;
    project.searchSequence = {"A" + fake};
    project.minVersion = "99";
    const std::string exe = build(project);
    EXPECT_EQ(run(exe, {}).exitCode, 0);
    EXPECT_EQ(run(exe, {}).exitCode, 0);
    EXPECT_EQ(readText(fake + "/probed"), "ran\n");
    // A changed executable is probed again: its new banner counts.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    makeFakeHome(dir_ + "/fake98", "98.0.1");
    fs::copy_file(dir_ + "/fake98/bin/java", fake + "/bin/java", fs::copy_options::overwrite_existing);
    const ProcessResult r = run(exe, {});
    EXPECT_EQ(r.exitCode, 83) << r.err;
}

// The system's registered runtimes: both real JDKs of this machine when it
// has two (CI has one; then the case is skipped).
TEST_F(LinuxJvm, VersionBoundsChooseBetweenRegisteredRuntimesThroughY) {
    const std::string temurin = "/usr/lib/jvm/temurin-25-jdk-amd64";
    if (!fs::exists(temurin + "/lib/server/libjvm.so")) GTEST_SKIP() << "only one JDK is installed";
    const struct {
        const char* minimum;
        const char* maximum;
        const char* property;
    } rows[] = {
        {"17", "17", "17."},
        {"25", "", "25"},
        {"1.8", "", "25"},  // the greatest version first
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.minimum);
        Project project;
        project.searchSequence = {"Y"};
        project.minVersion = row.minimum;
        project.maxVersion = row.maximum;
        const ProcessResult r = run(build(project), {"props", "java.version"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(contains(r.out, std::string("property java.version=") + row.property)) << r.out;
    }
}

TEST_F(LinuxJvm, ClassPathItemsOfEveryType) {
    fs::create_directories(dir_ + "/scan");
    fs::copy_file(dir_ + "/linuxapp.jar", dir_ + "/scan/linuxapp.jar");
    fs::copy(VEXAL_LINUX_APP_CLASSES, dir_ + "/classes", fs::copy_options::recursive);
    const struct {
        const char* name;
        std::vector<std::string> items;
        std::string entry;  // what java.class.path must hold
    } rows[] = {
        {"archive", {"A1linuxapp.jar"}, dir_ + "/linuxapp.jar"},
        {"directory", {"D1classes"}, dir_ + "/classes"},
        {"scanned directory", {"S1scan"}, dir_ + "/scan/linuxapp.jar"},
        {"environment variable", {"E1LINUXAPP_CP"}, dir_ + "/linuxapp.jar"},
        {"launcher variable", {"A1${VEXAL_EXEDIR}linuxapp.jar"}, dir_ + "/linuxapp.jar"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Project project;
        project.classPath = row.items;
        const ProcessResult r = run(build(project), {"props", "java.class.path"},
                                    {{"LINUXAPP_CP", dir_ + "/linuxapp.jar"}});
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_TRUE(contains(r.out, "property java.class.path=")) << r.out << r.err;
        EXPECT_TRUE(contains(r.out, row.entry + ":")) << r.out;
        // No empty element, which the JVM would read as the working directory.
        const std::string head = "property java.class.path=";
        const std::size_t at = r.out.find(head);
        if (at != std::string::npos) {
            const std::string value = r.out.substr(at + head.size(), r.out.find('\n', at) - at - head.size());
            EXPECT_FALSE(value.empty() || value.front() == ':' || value.back() == ':') << value;
            EXPECT_EQ(value.find("::"), std::string::npos) << value;
        }
    }
    Project missing;
    missing.classPath = {"A1linuxapp.jar", "D1gone"};
    const ProcessResult r = run(build(missing), {});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "gone not found")) << r.err;
}

TEST_F(LinuxJvm, VmOptionsFileConfigurationAndJArgumentsReachTheJvm) {
    Project project;
    project.vmOptions = {"-Dfrom.config=${VEXAL_PATHLIST_SEPARATOR}"};
    const std::string exe = build(project);
    writeText(exe + ".vmoptions", "-Dfrom.file=line one\n-Dsecond.line=%VEXAL_EXEDIR%\r\n");
    const ProcessResult r = run(exe, {"props", "from.file", "second.line", "from.config", "from.cli", "-J-Dfrom.cli=cli"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "property from.file=line one\n")) << r.out;
    EXPECT_TRUE(contains(r.out, "property second.line=%VEXAL_EXEDIR%\n")) << r.out;
    EXPECT_TRUE(contains(r.out, "property from.config=:\n")) << r.out;
    EXPECT_TRUE(contains(r.out, "property from.cli=cli\n")) << r.out;
    // The "-J" argument went to the JVM, not to main.
    EXPECT_FALSE(contains(r.out, "property -J")) << r.out;
}

TEST_F(LinuxJvm, SecondStartHandsItsArgumentsToTheRunningInstance) {
    Project project;
    project.singleInstance = true;
    const std::string exe = build(project);
    Subprocess first({exe, "listen"}, environment(), {"VEXAL_JAVA_HOME"});
    ASSERT_TRUE(first.waitForOutput([](const std::string& out) { return contains(out, "listening single=true"); },
                                    kLimit));
    const ProcessResult second = run(exe, {"second", "with blank"});
    EXPECT_EQ(second.exitCode, 0) << second.out << second.err;
    EXPECT_FALSE(contains(second.out, "LinuxApp started")) << second.out;
    const ProcessResult r = first.finish(kLimit);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "handed over: [second] [with blank]\n")) << r.out << r.err;
}

}  // namespace
