// Single instance under Wine: a first start held in main by the scripted JNI
// stand-in, and later starts of the same executable that hand their
// arguments over through the first one's communication file and end.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "config/ConfigIds.h"
#include "tests/e2e/Launchers.h"
#include "tests/e2e/SearchRuns.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/Waiting.h"

namespace vexal::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kLauncherClass = "com/vexal/runtime/WinLauncher";
constexpr const char* kGate = "release-main";

std::string utf16le(const std::u16string& text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

int occurrences(const std::string& text, const std::string& part) { return count(text, part); }

class SingleInstance : public ::testing::Test {
protected:
    ConfigStore store = typicalMessages("2");
    Launcher launcher = makeLauncher(StubKind::Gui, std::string());

    SingleInstance() {
        makeRuntime(fs::path(launcher.dir) / "jre", "client", "jni-standin/jvm.dll");
        store.setNarrow(id::SearchSequence, "B" + windowsPath(launcher.dir) + "\\jre");
        store.setNarrow(id::MainClass, "com.example.App");
        store.setNarrow(id::SingleInstance, "1");
        writeText(libraryDir() / "script.txt", std::string("class ") + kLauncherClass +
                                                   "\nclass java/lang/String\nmethod " + kLauncherClass +
                                                   " main ([Ljava/lang/String;)V\nhold " + kGate + "\n");
        fs::create_directories(tmp());
    }

    ~SingleInstance() override { release(); }

    fs::path libraryDir() const { return fs::path(launcher.dir) / "jre" / "bin" / "client"; }
    std::string tmp() const { return launcher.dir + "/tmp"; }
    std::string trace() const {
        const fs::path path = libraryDir() / "jni-trace.txt";
        return fs::exists(path) ? readBinaryFile(path.string()) : std::string();
    }
    void release() { writeText(libraryDir() / kGate, "go"); }

    void writeExe() { ExeBuilder(stubPath(StubKind::Gui)).block(store).write(launcher.exe); }

    RunnerSpec spec(const std::string& arguments) const {
        RunnerSpec s;
        s.app = launcher.exe;
        s.exactCommandLine = "\"" + windowsPath(launcher.exe) + "\"" + arguments;
        s.environment = baseEnvironment();
        s.environment.push_back("TMP=" + windowsPath(tmp()));
        s.environment.push_back("TEMP=" + windowsPath(tmp()));
        s.timeoutMs = 60000;
        return s;
    }

    std::string runDir(const std::string& name) const {
        const std::string dir = launcher.dir + "/" + name;
        fs::create_directories(dir);
        return dir;
    }

    // The first instance, running and inside main.
    std::unique_ptr<Subprocess> startFirst() {
        writeExe();
        auto first = startThroughRunner(spec(" first"), runDir("run-first"));
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (Clock::now() < deadline && trace().find("CallStaticVoidMethod main") == std::string::npos)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_NE(trace().find("CallStaticVoidMethod main"), std::string::npos) << "the first instance never ran main";
        return first;
    }

    // The communication files in the temporary directory.
    std::vector<fs::path> commFiles() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(tmp())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("vxl_p", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".tmp")
                found.push_back(entry.path());
        }
        return found;
    }
};

// What a second start writes for the running instance: the arguments part of
// its command line exactly, with a line feed, in UTF-16LE.
TEST_F(SingleInstance, SecondStartHandsItsArgumentsOverAndEnds) {
    struct Row {
        const char* name;
        std::string commandLine;  // behind the quoted program path
        std::u16string written;
    } rows[] = {
        {"plain", " alpha beta", u"alpha beta\n"},
        {"quotes and inner spacing", "   \"two  words\"  'x y'   end ", u"\"two  words\"  'x y'   end \n"},
        {"no arguments", "", u"\n"},
        {"outside ANSI", " \xC3\xA9t\xC3\xA9", u"\u00e9t\u00e9\n"},
    };
    auto first = startFirst();
    const int jvmStarts = occurrences(trace(), "JNI_CreateJavaVM version");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const fs::path& leftover : commFiles()) fs::remove(leftover);
        // With no earlier file there is nothing to wait for (how long the
        // wait for one lasts, LeftoverFileIsWaitedForThenOverwritten shows).
        const ProcessResult second = runThroughRunner(spec(row.commandLine), runDir("run-second"));
        EXPECT_EQ(second.exitCode, 0) << second.out << second.err;
        const std::vector<fs::path> files = commFiles();
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(readBinaryFile(files[0].string()), utf16le(row.written));
    }
    EXPECT_EQ(occurrences(trace(), "JNI_CreateJavaVM version"), jvmStarts) << "a second start created a JVM";
    release();
    EXPECT_EQ(first->finish(std::chrono::seconds(30)).exitCode, 0);
}

// The running instance names its marker to the Java side; the name is the
// executable's identity with "_" for "\".
TEST_F(SingleInstance, SemaphorePropertyOnlyWhenOn) {
    for (const char* on : {"1", "0"}) {
        SCOPED_TRACE(on);
        store.setNarrow(id::SingleInstance, on);
        fs::remove(libraryDir() / "jni-trace.txt");
        fs::remove(libraryDir() / kGate);
        auto first = startFirst();
        const bool single = std::string(on) == "1";
        const std::string t = trace();
        const std::size_t at = t.find("option -Dvexal.semaphoreName=");
        EXPECT_EQ(at != std::string::npos, single);
        if (at != std::string::npos) {
            const std::string value = t.substr(at + 29, t.find('\n', at) - at - 29);
            EXPECT_EQ(value.find('\\'), std::string::npos) << value;
            EXPECT_NE(value.find("_app.exe"), std::string::npos) << value;
            EXPECT_EQ(value, lower(value));
        }
        // With single instance off, a second start runs the application too
        // (and holds in main like the first).
        auto second = startThroughRunner(spec(" again"), runDir("run-second"));
        const int expected = single ? 1 : 2;
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (Clock::now() < deadline && occurrences(trace(), "CallStaticVoidMethod main") < expected)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (single) {
            EXPECT_EQ(second->finish(std::chrono::seconds(30)).exitCode, 0);
        }
        EXPECT_EQ(occurrences(trace(), "JNI_CreateJavaVM version"), expected);
        release();
        EXPECT_EQ(first->finish(std::chrono::seconds(30)).exitCode, 0);
        EXPECT_EQ(second->finish(std::chrono::seconds(30)).exitCode, 0);
    }
}

// Five starts at once: the marker lets exactly one of them run.
TEST_F(SingleInstance, FiveSimultaneousStartsRunOneApplication) {
    writeExe();
    std::vector<std::unique_ptr<Subprocess>> starts;
    for (int i = 0; i < 5; ++i)
        starts.push_back(startThroughRunner(spec(" n" + std::to_string(i)), runDir("run-" + std::to_string(i))));
    // Four end on their own; the one that runs holds in main.
    EXPECT_TRUE(waitUntil([&] {
        int ended = 0;
        for (auto& start : starts) ended += start->ended() ? 1 : 0;
        return ended == 4 && occurrences(trace(), "CallStaticVoidMethod main") == 1;
    })) << "expected four starts to end and one to run main";
    EXPECT_EQ(occurrences(trace(), "JNI_CreateJavaVM version"), 1);
    release();
    for (auto& start : starts) EXPECT_EQ(start->finish(std::chrono::seconds(30)).exitCode, 0);
    EXPECT_EQ(occurrences(trace(), "JNI_CreateJavaVM version"), 1);
    EXPECT_EQ(commFiles().size(), 1u);
}

// A communication file that nobody consumes: the next start waits 10 s for
// it to go, then overwrites it.
TEST_F(SingleInstance, LeftoverFileIsWaitedForThenOverwritten) {
    auto first = startFirst();
    const ProcessResult handOver = runThroughRunner(spec(" old"), runDir("run-old"));
    ASSERT_EQ(handOver.exitCode, 0);
    ASSERT_EQ(commFiles().size(), 1u);
    const auto started = Clock::now();
    const ProcessResult second = runThroughRunner(spec(" new"), runDir("run-second"));
    const auto took = Clock::now() - started;
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_GE(took, std::chrono::milliseconds(9500));
    ASSERT_EQ(commFiles().size(), 1u);
    EXPECT_EQ(readBinaryFile(commFiles()[0].string()), utf16le(u"new\n"));
    release();
    EXPECT_EQ(first->finish(std::chrono::seconds(30)).exitCode, 0);
}

// The second start brings the running instance's window to the front, over
// a window of another process that had it.
TEST_F(SingleInstance, SecondStartBringsTheRunningWindowToTheFront) {
    std::string script = readBinaryFile((libraryDir() / "script.txt").string());
    writeText(libraryDir() / "script.txt", script + "window 0 Running Instance\n");
    auto first = startFirst();
    const auto shown = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < shown && trace().find("window shown") == std::string::npos)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    const std::string otherRelease = launcher.dir + "/other-release";
    auto other = std::make_unique<Subprocess>(std::vector<std::string>{
        harness().wineRun, harness().session, fixture("window-holder.exe"), "shown", "Other", windowsPath(otherRelease)});
    const auto ready = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < ready && !fs::exists(otherRelease + ".ready"))
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto foreground = [] {
        std::string title = wineRun({fixture("window-holder.exe"), "--foreground"}).out;
        while (!title.empty() && (title.back() == '\n' || title.back() == '\r')) title.pop_back();
        return title;
    };
    // The other process's window has taken the front.
    waitUntil([&] { return foreground() == "Other-1"; });
    ASSERT_EQ(foreground(), "Other-1");

    const ProcessResult second = runThroughRunner(spec(" bring me"), runDir("run-second"));
    EXPECT_EQ(second.exitCode, 0);
    // Wine hands the foreground over through the X server, a moment later.
    waitUntil([&] { return foreground() == "Running Instance"; });
    EXPECT_EQ(foreground(), "Running Instance");

    writeText(otherRelease, "go");
    other->finish(std::chrono::seconds(30));
    release();
    EXPECT_EQ(first->finish(std::chrono::seconds(30)).exitCode, 0);
}

}  // namespace
}  // namespace vexal::testing
