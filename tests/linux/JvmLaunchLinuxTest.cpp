// The Linux launcher end to end on the machine's real JDKs: executables made
// of the Linux stub and a configuration block (the example by the generator
// from its project file with arch = "linux-x64"), started as ordinary
// processes with their own state and temporary directories.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
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
const std::string kTemurin25 = "/usr/lib/jvm/temurin-25-jdk-amd64";
constexpr auto kLimit = std::chrono::seconds(60);
// A first run that makes an AOT cache (JDK 25) ends only when the JVM's
// helper process has written it: seconds, many under load.
constexpr auto kArchiveLimit = std::chrono::seconds(240);

// The JDKs of this machine to test on: OpenJDK 17 always, Temurin 25 when it
// is installed (part of this machine's image, not of a fresh one).
std::vector<std::string> jdkHomes() {
    std::vector<std::string> homes{kJdk17};
    if (std::filesystem::exists(kTemurin25 + "/lib/server/libjvm.so")) homes.push_back(kTemurin25);
    return homes;
}

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
    bool classDataSharing = false;
    std::string mainClass = "com.example.linuxapp.LinuxApp";
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
        set(id::MainClass, project.mainClass);
        set(id::ClassDataSharing, project.classDataSharing ? "auto" : "off");
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
        extra.emplace("XDG_CACHE_HOME", dir_ + "/cache");
        extra.emplace("TMPDIR", dir_ + "/tmp");
        extra.emplace("TMP", dir_ + "/tmp");
        return extra;
    }

    ProcessResult run(const std::string& exe, const std::vector<std::string>& arguments,
                      std::map<std::string, std::string> extra = {}) {
        std::vector<std::string> argv{exe};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<std::string> unset{"VEXAL_JAVA_HOME", "JAVA_TOOL_OPTIONS"};
        if (extra.count("JAVA_TOOL_OPTIONS")) unset.pop_back();
        return runProcess(argv, environment(std::move(extra)), unset, kArchiveLimit);
    }

    // A run with the diagnostic log on; returns the log's text (this run's
    // only: earlier logs are removed first).
    std::string loggedRun(const std::string& exe, const std::vector<std::string>& arguments, ProcessResult& r,
                          std::map<std::string, std::string> extra = {}) {
        for (const auto& entry : fs::directory_iterator(dir_ + "/tmp")) {
            if (entry.path().filename().string().rfind("kvl_nlog", 0) == 0) fs::remove(entry.path());
        }
        extra.emplace("VEXAL_LOG", "yes");
        r = run(exe, arguments, std::move(extra));
        std::string log;
        for (const auto& entry : fs::directory_iterator(dir_ + "/tmp")) {
            if (entry.path().filename().string().rfind("kvl_nlog", 0) == 0) log += readText(entry.path().string());
        }
        return log;
    }

    // The names in the cache's archive folder.
    std::vector<std::string> cacheArchives() const {
        std::vector<std::string> names;
        const std::string dir = dir_ + "/cache/vexal/cds";
        if (!fs::exists(dir)) return names;
        for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
        return names;
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

// The UTF-8 bytes of a text as lower-case hex, as the application prints them.
std::string hexBytes(const std::string& text) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : text) hex += {digits[c >> 4], digits[c & 0xf]};
    return hex;
}

// Every argv element reaches main as it was given: nothing is joined,
// re-quoted or split again on the way.
TEST_F(LinuxJvm, EveryArgumentReachesMainByteForByte) {
    std::string longMixed;
    while (longMixed.size() < 10000) longMixed += "a \"b\" 'c' \\d\t";
    longMixed.resize(10000);
    std::vector<std::string> many;
    for (int i = 0; i < 200; ++i) many.push_back(i % 2 ? "arg " + std::to_string(i) : "\"" + std::to_string(i) + "'");
    const struct {
        const char* name;
        std::vector<std::string> arguments;
    } rows[] = {
        {"empty", {"", "between", ""}},
        {"blanks", {" ", "two words", "  lead and trail  "}},
        {"both quote kinds", {"say \"hi\" it's", "\"", "'", "a \"b c\" 'd e'", "\"\"\""}},
        {"backslashes", {"C:\\dir\\", "\\\\server\\share", "\\\"", "end\\\\", "\\ \""}},
        {"tabs", {"\t", "a\tb", "\t\"x y\"\t"}},
        {"non-ASCII", {"gr\xc3\xbc\xc3\x9f\x65", "\xe6\x97\xa5\xe6\x9c\xac", "\xf0\x9f\x98\x80 smile"}},
        {"10,000 characters", {longMixed}},
        {"200 arguments", many},
    };
    for (const std::string& jdk : jdkHomes()) {
        Project project;
        project.searchSequence = {"A" + jdk};
        const std::string exe = build(project);
        for (const auto& row : rows) {
            SCOPED_TRACE(jdk + ": " + row.name);
            std::vector<std::string> arguments{"bytes"};
            arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
            std::string expected = "LinuxApp started\n";
            for (std::size_t i = 0; i < row.arguments.size(); ++i)
                expected += "bytes " + std::to_string(i + 1) + ": " + hexBytes(row.arguments[i]) + "\n";
            const ProcessResult r = run(exe, arguments);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(r.out, expected) << r.err;
        }
    }
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
    // A changed executable is probed again: its new banner counts. (Its time
    // is set apart explicitly: a file system may keep coarse times.)
    const auto probedAt = fs::last_write_time(fake + "/bin/java");
    makeFakeHome(dir_ + "/fake98", "98.0.1");
    fs::copy_file(dir_ + "/fake98/bin/java", fake + "/bin/java", fs::copy_options::overwrite_existing);
    fs::last_write_time(fake + "/bin/java", probedAt + std::chrono::seconds(2));
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

    // java's two-item forms reach the JVM joined; the java command's own
    // options are left out, and the log says so.
    writeText(exe + ".vmoptions", "--add-opens\njava.base/java.lang=ALL-UNNAMED\n-showversion\n");
    ProcessResult forms;
    const std::string log = loggedRun(exe, {"props", "-J-cp", "-Jlib/*"}, forms);
    EXPECT_EQ(forms.exitCode, 0) << forms.err;
    EXPECT_TRUE(contains(log, ": --add-opens=java.base/java.lang=ALL-UNNAMED\n")) << log;
    EXPECT_TRUE(contains(log, "VM option -showversion of the .vmoptions file left out")) << log;
    EXPECT_TRUE(contains(log, "VM option -cp lib/* of the -J arguments left out")) << log;
    EXPECT_FALSE(contains(forms.out + forms.err, "openjdk version")) << forms.out << forms.err;

    // What jps and jcmd show: the main class and main's arguments, as java sets it.
    const ProcessResult command = run(exe, {"props", "sun.java.command", "-J-Dx=1", "two words"});
    EXPECT_TRUE(contains(command.out, "property sun.java.command=com.example.linuxapp.LinuxApp props "
                                      "sun.java.command two words\n"))
        << command.out << command.err;
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

// ---- The application's main called through JNI

// The runtime launcher calls the application's main through the natives the
// launcher registered (no Method.invoke on the stack, no method-handle
// classes spun for it); failures keep their messages and exit codes.
TEST_F(LinuxJvm, MainIsCalledThroughJniOnEveryJdk) {
    for (const std::string& jdk : jdkHomes()) {
        SCOPED_TRACE(jdk);
        Project project;
        project.searchSequence = {"A" + jdk};
        const std::string exe = build(project);
        ProcessResult r;
        const std::string log = loggedRun(exe, {"throw"}, r);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_TRUE(contains(r.err, "java.lang.IllegalStateException: failed on purpose\n"
                                    "\tat com.example.linuxapp.LinuxApp.main(LinuxApp.java:"))
            << r.err;
        EXPECT_TRUE(contains(r.err, ")\n\tat com.vexal.runtime.WinLauncher.callMain(Native Method)\n")) << r.err;
        EXPECT_FALSE(contains(r.err, "Method.invoke")) << r.err;
        EXPECT_TRUE(contains(r.err, "The JVM could not be started. The main method may have thrown an exception."));
        EXPECT_TRUE(contains(log, "native main hand-off registered\n")) << log;

        // No method-handle class is made for the call of main.
        r = run(exe, {"greet", "-J-Xlog:class+load=info"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(contains(r.out, "argument 1: greet\n")) << r.out;
        EXPECT_FALSE(contains(r.out, "java.lang.invoke.LambdaForm$MH/")) << r.out;
        EXPECT_FALSE(contains(r.out, "DirectMethodHandleAccessor")) << r.out;

        // As under java, a main class in a package its module does not export.
        Project internal = project;
        internal.mainClass = "jdk.internal.jshell.tool.JShellToolProvider";
        r = run(build(internal, "jshell"), {"--version"});
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(r.out.rfind("jshell ", 0), 0u) << r.out << r.err;

        Project missing = project;
        missing.mainClass = "com.example.linuxapp.Absent";
        r = run(build(missing, "absent"), {});
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_TRUE(contains(r.err, "java.lang.ClassNotFoundException: com.example.linuxapp.Absent")) << r.err;
        EXPECT_TRUE(contains(r.err, "The JVM could not be started. The main method may have thrown an exception."));
    }
}

// An exception from main ends the launch as under java: the trace, then the
// application's other threads run to their end and its shutdown hooks run,
// and only then message 1005 and exit code 1.
TEST_F(LinuxJvm, ExceptionFromMainLetsThreadsAndHooksFinish) {
    for (const std::string& jdk : jdkHomes()) {
        SCOPED_TRACE(jdk);
        Project project;
        project.searchSequence = {"A" + jdk};
        const ProcessResult r = run(build(project), {"throw-after-work"});
        EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
        EXPECT_EQ(r.out, "LinuxApp started\nbg done\nhook ran\n") << r.err;
        const std::size_t trace = r.err.find("java.lang.IllegalStateException: failed after starting work");
        const std::size_t message = r.err.find("The JVM could not be started. The main method may have thrown an exception.");
        ASSERT_NE(trace, std::string::npos) << r.err;
        ASSERT_NE(message, std::string::npos) << r.err;
        EXPECT_LT(trace, message) << r.err;
    }
}

// ---- Class-data sharing

const char* archiveExtension(const std::string& jdk) { return jdk == kJdk17 ? ".jsa" : ".aot"; }

std::size_t countEnding(const std::vector<std::string>& names, const std::string& end) {
    std::size_t n = 0;
    for (const std::string& name : names) {
        if (name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0) ++n;
    }
    return n;
}

std::size_t countParts(const std::vector<std::string>& names) {
    std::size_t n = 0;
    for (const std::string& name : names) n += contains(name, ".part") ? 1 : 0;
    return n;
}

// The first run (ending normally, or through System.exit) leaves an archive
// in the user's cache; the next run loads the application's classes from it.
// Nothing of the JVM's own talk about archives reaches standard output.
TEST_F(LinuxJvm, ClassDataArchiveIsMadeThenUsed) {
    for (const std::string& jdk : jdkHomes()) {
        SCOPED_TRACE(jdk);
        const struct {
            const char* name;
            std::vector<std::string> arguments;
            int exitCode;
            const char* out;
        } rows[] = {
            {"main returns", {"greet"}, 0, "LinuxApp started\nargument 1: greet\n"},
            {"System.exit", {"exit", "3"}, 3, "LinuxApp started\n"},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            fs::remove_all(dir_ + "/cache");
            Project project;
            project.searchSequence = {"A" + jdk};
            project.classDataSharing = true;
            const std::string exe = build(project);
            ProcessResult r;
            std::string log = loggedRun(exe, row.arguments, r);
            EXPECT_EQ(r.exitCode, row.exitCode) << r.err << log;
            EXPECT_EQ(r.out, row.out) << r.err;
            EXPECT_TRUE(contains(log, "no archive yet: the JVM writes")) << log;
            EXPECT_TRUE(contains(log, "class-data sharing: archive ")) << log;
            const std::vector<std::string> names = cacheArchives();
            EXPECT_EQ(countEnding(names, archiveExtension(jdk)), 1u) << ::testing::PrintToString(names);
            EXPECT_EQ(countParts(names), 0u) << ::testing::PrintToString(names);

            log = loggedRun(exe, {"greet", "-J-Xlog:class+load=info"}, r);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_TRUE(contains(r.out, "com.example.linuxapp.LinuxApp source: shared objects file")) << r.out;
            EXPECT_TRUE(contains(log, jdk == kJdk17 ? "dynamic archive " + dir_ + "/cache/vexal/cds/"
                                                    : "AOT cache " + dir_ + "/cache/vexal/cds/"))
                << log;
            EXPECT_EQ(cacheArchives(), names);
        }
    }
}

// A damaged archive is never handed to the JVM (a cut dynamic archive makes
// JDK 17 crash with SIGBUS): it is removed, the application starts as
// usual, and the run makes a whole one again.
TEST_F(LinuxJvm, DamagedClassDataArchiveIsMadeAnew) {
    for (const std::string& jdk : jdkHomes()) {
        SCOPED_TRACE(jdk);
        fs::remove_all(dir_ + "/cache");
        Project project;
        project.searchSequence = {"A" + jdk};
        project.classDataSharing = true;
        const std::string exe = build(project);
        ASSERT_EQ(run(exe, {"greet"}).exitCode, 0);
        const struct {
            const char* name;
            const char* logged;
        } rows[] = {
            {"cut in half", "is damaged (cut, grown or not an archive): removed"},
            {"garbage of the same size", "is damaged (cut, grown or not an archive): removed"},
            {"empty", "is damaged (cut, grown or not an archive): removed"},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            const std::vector<std::string> names = cacheArchives();
            ASSERT_EQ(names.size(), 1u) << ::testing::PrintToString(names);
            const std::string path = dir_ + "/cache/vexal/cds/" + names[0];
            const std::string bytes = readText(path);
            fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
            if (std::string(row.name) == "cut in half") writeText(path, bytes.substr(0, bytes.size() / 2));
            if (std::string(row.name) == "garbage of the same size") writeText(path, std::string(bytes.size(), 'x'));
            if (std::string(row.name) == "empty") writeText(path, "");
            ProcessResult r;
            const std::string log = loggedRun(exe, {"greet"}, r);
            EXPECT_EQ(r.exitCode, 0) << r.err << log;
            EXPECT_EQ(r.out, "LinuxApp started\nargument 1: greet\n") << r.err;
            EXPECT_TRUE(contains(log, row.logged)) << log;
            EXPECT_TRUE(contains(log, "class-data sharing: archive ")) << log;
        }
    }
}

// Three first starts at once: each writes its own part file and puts it in
// place at its end; every one runs the application, none sees a half
// written archive, and the next start uses one.
TEST_F(LinuxJvm, ConcurrentFirstStartsAllRunAndLeaveAnArchive) {
    Project project;
    project.classDataSharing = true;
    const std::string exe = build(project);
    std::vector<std::unique_ptr<Subprocess>> starts;
    for (int i = 0; i < 3; ++i) {
        starts.push_back(std::make_unique<Subprocess>(std::vector<std::string>{exe, "greet"}, environment(),
                                                      std::vector<std::string>{"VEXAL_JAVA_HOME", "JAVA_TOOL_OPTIONS"}));
    }
    for (auto& start : starts) {
        const ProcessResult r = start->finish(kArchiveLimit);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "LinuxApp started\nargument 1: greet\n") << r.err;
    }
    const std::vector<std::string> names = cacheArchives();
    EXPECT_GE(countEnding(names, ".jsa"), 1u) << ::testing::PrintToString(names);
    EXPECT_EQ(countParts(names), 0u) << ::testing::PrintToString(names);
    ProcessResult r;
    const std::string log = loggedRun(exe, {"greet"}, r);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(contains(log, "dynamic archive " + dir_ + "/cache/vexal/cds/")) << log;
}

// What keeps the launcher from making an archive, and the application
// starts all the same: a sharing option of the user's (it wins), a class
// path folder with classes in it (the JVM would end the finished run with
// exit code 1), a cache that is not private to the user.
TEST_F(LinuxJvm, ClassDataSharingStandsBackAndTheApplicationStarts) {
    fs::copy(VEXAL_LINUX_APP_CLASSES, dir_ + "/classes", fs::copy_options::recursive);
    const std::string other = dir_ + "/planted";
    fs::create_directories(other);
    const struct {
        const char* name;
        std::vector<std::string> classPath;
        std::vector<std::string> arguments;
        std::map<std::string, std::string> environment;
        std::function<bool()> prepare;  // false: the case cannot be made here
        const char* logged;
    } rows[] = {
        {"-J-Xshare:off", {"A1linuxapp.jar"}, {"greet", "-J-Xshare:off"}, {}, [] { return true; },
         "class-data sharing: left to the option -Xshare:off"},
        {"JAVA_TOOL_OPTIONS", {"A1linuxapp.jar"}, {"greet"}, {{"JAVA_TOOL_OPTIONS", "-XX:SharedArchiveFile=/x.jsa"}},
         [] { return true; }, "class-data sharing: left to the option -XX:SharedArchiveFile=/x.jsa"},
        {"a class folder", {"D1classes"}, {"greet"}, {}, [] { return true; },
         "the JVM archives jar files only"},
        {"the cache is another user's",
         {"A1linuxapp.jar"},
         {"greet"},
         {},
         [this] {
             fs::create_directories(dir_ + "/cache/vexal");
             return chown((dir_ + "/cache/vexal").c_str(), 65534, 65534) == 0 && geteuid() != 65534;
         },
         "belongs to another user"},
        {"the cache is a link", {"A1linuxapp.jar"}, {"greet"}, {},
         [this, other] {
             fs::create_directories(dir_ + "/cache");
             fs::create_directory_symlink(other, dir_ + "/cache/vexal");
             return true;
         },
         "is not a directory (a link?)"},
        {"the cache's folder is open to everyone", {"A1linuxapp.jar"}, {"greet"}, {},
         [this] {
             fs::create_directories(dir_ + "/cache");
             fs::permissions(dir_ + "/cache", fs::perms::all);
             return true;
         },
         "is writable by other users"},
        {"the archive folder is a file", {"A1linuxapp.jar"}, {"greet"}, {},
         [this] {
             fs::create_directories(dir_ + "/cache/vexal");
             writeText(dir_ + "/cache/vexal/cds", "");
             return true;
         },
         "class-data sharing: no private cache"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(dir_ + "/cache");
        if (!row.prepare()) {
            std::printf("skipped: %s cannot be made here\n", row.name);
            continue;
        }
        Project project;
        project.classDataSharing = true;
        project.classPath = row.classPath;
        ProcessResult r;
        const std::string log = loggedRun(build(project), row.arguments, r, row.environment);
        EXPECT_EQ(r.exitCode, 0) << r.err << log;
        EXPECT_EQ(r.out, "LinuxApp started\nargument 1: greet\n") << r.err;
        EXPECT_TRUE(contains(log, row.logged)) << log;
        EXPECT_FALSE(contains(log, "the JVM writes")) << log;
        EXPECT_TRUE(fs::is_empty(other));
    }
}

// A runtime without its base archives (a jlink image made without
// --generate-cds-archive): JDK 17 asked to write a dynamic archive would not
// start at all ("DynamicDumpSharedSpaces is unsupported when base CDS
// archive is not loaded"), so the launcher asks for none. The runtime is
// OpenJDK 17 with its JVM library copied (the JVM takes its home from the
// library's real path) and everything else linked.
TEST_F(LinuxJvm, RuntimeWithoutBaseArchivesStartsWithoutAnArchive) {
    const std::string home = dir_ + "/jdk-without-base";
    fs::create_directories(home + "/lib/server");
    for (const auto& entry : fs::directory_iterator(kJdk17)) {
        if (entry.path().filename() != "lib") fs::create_symlink(entry.path(), home + "/" + entry.path().filename().string());
    }
    for (const auto& entry : fs::directory_iterator(kJdk17 + "/lib")) {
        if (entry.path().filename() != "server") {
            fs::create_symlink(entry.path(), home + "/lib/" + entry.path().filename().string());
        }
    }
    fs::copy_file(kJdk17 + "/lib/server/libjvm.so", home + "/lib/server/libjvm.so");
    Project project;
    project.searchSequence = {"A" + home};
    project.classDataSharing = true;
    ProcessResult r;
    const std::string log = loggedRun(build(project), {"greet"}, r);
    EXPECT_EQ(r.exitCode, 0) << r.err << log;
    EXPECT_EQ(r.out, "LinuxApp started\nargument 1: greet\n") << r.err;
    EXPECT_TRUE(contains(log, "class-data sharing: the runtime has no base archive " + home +
                                  "/lib/server/classes.jsa: no archive"))
        << log;
    EXPECT_TRUE(cacheArchives().empty());
}

// The generated example with class-data sharing on: its included runtime
// jar comes from the content-addressed place in the cache (written once,
// found by the next run, no temporary directory), and the archive is used.
TEST_F(LinuxJvm, GeneratedExampleKeepsItsFilesAndArchiveInTheCache) {
    fs::copy_file(VEXAL_HELLO_JAR, dir_ + "/hello.jar");
    const std::string exe = dir_ + "/hello";
    const ProcessResult b = runProcess({VEXAL_GENERATOR, "build", VEXAL_HELLO_PROJECT, "-o", exe, "--stubs",
                                        VEXAL_STUBS_DIR, "--set", "arch=linux-x64", "--set",
                                        "java.class-data-sharing=auto", "--quiet"},
                                       {}, {}, kLimit);
    ASSERT_EQ(b.exitCode, 0) << b.out << b.err;
    for (const std::string& jdk : jdkHomes()) {
        SCOPED_TRACE(jdk);
        fs::remove_all(dir_ + "/cache");
        ProcessResult r;
        std::string log = loggedRun(exe, {"one"}, r, {{"JAVA_HOME", jdk}});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "Hello from Vexal\nargument 1: one\n") << r.err;
        const std::string files = dir_ + "/cache/vexal/files/";
        EXPECT_TRUE(contains(log, "Included files in " + files)) << log;
        log = loggedRun(exe, {"two"}, r, {{"JAVA_HOME", jdk}});
        EXPECT_EQ(r.out, "Hello from Vexal\nargument 1: two\n") << r.err;
        EXPECT_TRUE(contains(log, "Included files from " + files)) << log;
        EXPECT_TRUE(contains(log, jdk == kJdk17 ? "class-data sharing: Java 17, dynamic archive "
                                                : "class-data sharing: Java 25, AOT cache "))
            << log;
        for (const auto& entry : fs::directory_iterator(dir_ + "/tmp")) {
            EXPECT_EQ(entry.path().filename().string().rfind("vxl_dir", 0), std::string::npos) << entry.path();
        }
        // The place is read-only: nothing writes into it by mistake.
        for (const auto& entry : fs::directory_iterator(files)) {
            if (entry.path().filename().string()[0] == '.') continue;
            EXPECT_EQ(fs::status(entry.path()).permissions() & fs::perms::owner_write, fs::perms::none);
            EXPECT_TRUE(fs::exists(entry.path() / "vexal-runtime.jar"));
        }
    }
}

}  // namespace
