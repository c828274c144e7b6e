// The splash thread's poll of the controller class against the machine's
// HotSpot, with checked JNI on. Each case runs in a forked child (a JVM per
// process): the child plays a script of steps - polls on a thread of their
// own, like the splash thread, and calls of the application's side on the
// main thread - and writes a transcript of what the fake splash window saw.
// The JVM's own output (checked-JNI warnings, uncaught exceptions, running
// out of its small heap) goes to files that the case inspects too.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <jni.h>
#include <stdlib.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/ProcessExit.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "splash/SplashController.h"
#include "tests/jvm/TestJvm.h"
#include "windows/JavaVMLauncher/JvmEntry.h"
#include "windows/JavaVMLauncher/JvmSession.h"

namespace fs = std::filesystem;
using namespace vexal;

namespace {

const std::string kClasses = VEXAL_TEST_CLASSES;

// A small heap and long texts: a local reference kept per poll keeps its
// text alive, and 10000 of them (some 40 MiB) cannot fit.
constexpr int kHeapMiB = 16;
constexpr std::size_t kLongText = 2000;
constexpr int kManyPolls = 10000;

std::string hexUnits(const char16_t* text, std::size_t length) {
    std::string hex;
    char unit[8];
    for (std::size_t i = 0; i < length; ++i) {
        std::snprintf(unit, sizeof unit, "%s%04x", i ? " " : "", static_cast<unsigned>(text[i]));
        hex += unit;
    }
    return hex;
}

std::string hexUnits(const std::u16string& text) { return hexUnits(text.data(), text.size()); }

// The splash window as the poll sees it; every request lands in the
// transcript.
class FakeWindow : public SplashPollHost {
public:
    bool visible = true;
    bool closeOnWindowFlag = false;
    int windows = 1;
    std::string transcript;
    bool quiet = false;  // texts are counted, not written
    long texts = 0;
    std::string lastText;

    bool windowVisible() override { return visible; }
    bool closeOnWindow() override { return closeOnWindowFlag; }
    int countOwnWindows() override { return windows; }
    void hide() override { transcript += "hide\n"; }
    void setStatusText(const char16_t* text, std::size_t length) override {
        ++texts;
        lastText = hexUnits(text, length);
        if (!quiet) transcript += "text " + lastText + "\n";
    }
};

// A thread that runs what it is given, one job at a time, and stays the same
// thread throughout: the poll keeps the JNI environment of its first attach.
class SplashThread {
public:
    SplashThread() : thread_([this] { loop(); }) {}
    ~SplashThread() {
        run(nullptr);
        thread_.join();
    }
    void run(std::function<void()> job) {
        std::unique_lock<std::mutex> lock(mutex_);
        job_ = std::move(job);
        pending_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !pending_; });
    }

private:
    void loop() {
        for (;;) {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return pending_; });
            std::function<void()> job = std::move(job_);
            if (job) job();
            pending_ = false;
            changed_.notify_all();
            if (!job) return;
        }
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> job_;
    bool pending_ = false;
    std::thread thread_;
};

enum class Op {
    CreateJvm,      // on the main thread
    Poll,           // one tick on the splash thread: "keep" or "end"
    Attached,       // whether the splash thread is attached: "attached" or "detached"
    SetText,        // VexalController.setStatusText(text) on the main thread
    CloseSplash,    // VexalController.closeSplash() on the main thread
    Hidden,         // the window is hidden by someone else
    Windows,        // the process now has n visible windows
    CloseOnWindow,  // entry 145 is set
    ManyTexts,      // n times: a new long text, then a poll; transcript "texts <received> last <units>"
    HoldLocalRefs,  // the splash thread keeps n local references to long texts: "held" or "out of memory"
};

struct Step {
    Op op;
    std::u16string text = u"";
    int n = 0;
};

std::string classPathOption(const std::vector<std::string>& items) {
    std::string option = "-Djava.class.path=";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) option += ':';
        option += items[i][0] == '/' ? items[i] : kClasses + "/" + items[i];
    }
    return option;
}

// The application's side: a static method of the controller, called on the
// main thread with its local references freed again.
void callController(const char* name, const std::u16string* text) {
    JNIEnv* env = nullptr;
    static_cast<JavaVM*>(javaVm())->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_2);
    env->PushLocalFrame(8);
    jclass controller = env->FindClass("com/vexal/runtime/VexalController");
    if (text == nullptr) {
        env->CallStaticVoidMethod(controller, env->GetStaticMethodID(controller, name, "()V"));
    } else {
        jstring value = env->NewString(reinterpret_cast<const jchar*>(text->data()), jsize(text->size()));
        env->CallStaticVoidMethod(controller, env->GetStaticMethodID(controller, name, "(Ljava/lang/String;)V"),
                                  value);
    }
    if (env->ExceptionCheck()) {
        env->ExceptionDescribe();
        exitProcessNow(93);
    }
    env->PopLocalFrame(nullptr);
}

std::string attachState() {
    auto* vm = static_cast<JavaVM*>(javaVm());
    JNIEnv* env = nullptr;
    return vm != nullptr && vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_2) == JNI_OK ? "attached"
                                                                                                    : "detached";
}

void redirect(int fd, const fs::path& file) {
    int target = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(target, fd);
    close(target);
}

// The child: plays the steps, writes <dir>/transcript, ends at once (no
// DestroyJavaVM: the splash thread may still be attached, as in the launcher).
[[noreturn]] void play(const std::vector<std::string>& classPath, const std::vector<Step>& steps,
                       const fs::path& dir) {
    redirect(1, dir / "stdout");
    redirect(2, dir / "stderr");
    configStore().clear();
    configStore().setNarrow(id::LauncherKind, "v");
    void* library = dlopen(vexal::testing::testLibjvm().c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr) exitProcessNow(90);
    setJvmEntryPoint(dlsym(library, "JNI_CreateJavaVM"));

    FakeWindow window;
    SplashThread splash;
    std::string& out = window.transcript;
    for (const Step& step : steps) {
        switch (step.op) {
        case Op::CreateJvm:
            if (!createJvm({classPathOption(classPath), "-Xcheck:jni", "-Xmx" + std::to_string(kHeapMiB) + "m"}))
                exitProcessNow(91);
            break;
        case Op::Poll:
            splash.run([&] {
                out += pollSplashController(window) == PollOutcome::KeepPolling ? "keep\n" : "end\n";
            });
            break;
        case Op::Attached:
            splash.run([&] { out += attachState() + "\n"; });
            break;
        case Op::SetText:
            callController("setStatusText", &step.text);
            break;
        case Op::CloseSplash:
            callController("closeSplash", nullptr);
            break;
        case Op::Hidden:
            window.visible = false;
            break;
        case Op::Windows:
            window.windows = step.n;
            break;
        case Op::CloseOnWindow:
            window.closeOnWindowFlag = true;
            break;
        case Op::ManyTexts: {
            window.quiet = true;
            long endedAt = -1;
            for (int i = 0; i < step.n && endedAt < 0; ++i) {
                const std::u16string text = u"step " + std::u16string(1, char16_t(u'A' + i % 26)) +
                                            u" \U0001F600 " + std::u16string(kLongText + i % 7, u'x');
                callController("setStatusText", &text);
                splash.run([&] {
                    if (pollSplashController(window) != PollOutcome::KeepPolling) endedAt = i;
                });
            }
            window.quiet = false;
            out += "texts " + std::to_string(window.texts) + " last " + window.lastText.substr(0, 59) +
                   (endedAt >= 0 ? " ended " + std::to_string(endedAt) : "") + "\n";
            break;
        }
        case Op::HoldLocalRefs:
            splash.run([&] {
                JNIEnv* env = nullptr;
                static_cast<JavaVM*>(javaVm())->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_2);
                const std::u16string held(kLongText, u'\u65e5');
                int made = 0;
                while (made < step.n &&
                       env->NewString(reinterpret_cast<const jchar*>(held.data()), jsize(held.size())) != nullptr) {
                    ++made;
                }
                env->ExceptionClear();
                out += made < step.n ? "out of memory\n" : "held\n";
            });
            break;
        }
    }
    std::ofstream(dir / "transcript", std::ios::binary) << out;
    std::fflush(stdout);
    exitProcessNow(0);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Case {
    const char* name;
    std::vector<std::string> classPath;
    std::vector<Step> steps;
    std::string transcript;
    const char* outputHas = "";  // the JVM's output must hold this; otherwise no warning or exception at all
};

const Step kCreate{Op::CreateJvm};
const Step kPoll{Op::Poll};
const Step kAttached{Op::Attached};
const Step kHidden{Op::Hidden};
const Step kClose{Op::CloseSplash};
Step text(std::u16string t) { return {Op::SetText, std::move(t)}; }
Step windows(int n) { return {Op::Windows, u"", n}; }

class SplashPoll : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "fast");
        std::string pattern = (fs::temp_directory_path() / "vexal-poll-XXXXXX").string();
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    void check(const Case& c) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(dir_)) fs::remove_all(entry.path());
        EXPECT_EXIT(play(c.classPath, c.steps, dir_), ::testing::ExitedWithCode(0), "");
        EXPECT_EQ(readFile(dir_ / "transcript"), c.transcript);
        const std::string output = readFile(dir_ / "stdout") + readFile(dir_ / "stderr");
        if (*c.outputHas != '\0') {
            EXPECT_NE(output.find(c.outputHas), std::string::npos) << output << readFile(dir_ / "transcript");
        } else {
            EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
            EXPECT_EQ(output.find("Exception"), std::string::npos) << output;
            EXPECT_EQ(output.find("Error"), std::string::npos) << output;
        }
    }

    fs::path dir_;
};

TEST_F(SplashPoll, WithoutAUsableControllerTheSplashStaysUntilHiddenOrTheWindowRule) {
    const std::vector<Case> cases = {
        {"before the JVM exists: no attach, keep polling",
         {"firstrun"},
         {kPoll, kAttached, kPoll, kCreate, kAttached, kPoll, kAttached},
         "keep\ndetached\nkeep\ndetached\nkeep\nattached\n"},
        // The failed class lookup is not reported, not even when the thread
        // detaches on its way out.
        {"no controller class: keep polling, never hidden; ends when hidden elsewhere",
         {"firstrun"},
         {kCreate, kPoll, kPoll, kPoll, kPoll, kHidden, kPoll, kAttached},
         "keep\nkeep\nkeep\nkeep\nend\ndetached\n"},
        {"controller without getText: never called",
         {"halfcontroller"},
         {kCreate, kPoll, kPoll, kHidden, kPoll, kAttached},
         "keep\nkeep\nend\ndetached\n"},
        {"no controller, close on window: one window keeps, two close",
         {"firstrun"},
         {kCreate, {Op::CloseOnWindow}, kPoll, windows(2), kPoll, kAttached},
         "keep\nhide\nend\ndetached\n"},
        {"the window rule applies before the JVM exists",
         {"firstrun"},
         {{Op::CloseOnWindow}, windows(3), kPoll},
         "hide\nend\n"},
        {"more windows without the close-on-window flag keep the splash",
         {"firstrun"},
         {kCreate, windows(5), kPoll, kPoll},
         "keep\nkeep\n"},
    };
    for (const Case& c : cases) check(c);
}

TEST_F(SplashPoll, ControllerMethodsThatThrowDoNotStopThePolling) {
    // getAction throws, then answers 2 with getText throwing, then 2 with
    // "after", then 1.
    check({"exceptions are cleared and the polling goes on",
           {"throwingcontroller"},
           {kCreate, kPoll, kPoll, kPoll, kPoll, kAttached},
           "keep\nkeep\ntext 0061 0066 0074 0065 0072\nkeep\nhide\nend\ndetached\n"});
}

TEST_F(SplashPoll, TheLeakDetectorsSeeLocalReferencesHeldByTheSplashThread) {
    // Without this a clean run of the many polls below would prove nothing.
    // Both detectors must see the held references: the small heap runs out,
    // and checked JNI warns once the thread holds more than it made room for
    // (on the HotSpot builds that still count them; on the others the output
    // must stay clean).
    check({"one long text held per poll exhausts the heap",
           {"firstrun"},
           {kCreate, kPoll, {Op::HoldLocalRefs, u"", kManyPolls}, kPoll},
           "keep\nout of memory\nkeep\n",
           vexal::testing::checkedJniCountsLocalRefs() ? "WARNING: JNI local refs: " : ""});
}

#ifdef VEXAL_RUNTIME_JAR
const std::vector<std::string> kRealController = {VEXAL_RUNTIME_JAR};

TEST_F(SplashPoll, RealControllerDrivesTheStatusLineAndCloses) {
    const std::vector<Case> cases = {
        {"a status text arrives as exactly its UTF-16 units",
         kRealController,
         {kCreate, text(u"Loading"), kPoll, kPoll},
         "text 004c 006f 0061 0064 0069 006e 0067\nkeep\nkeep\n"},
        {"characters outside the BMP and an embedded NUL",
         kRealController,
         {kCreate, kPoll, text(std::u16string(u"a\0b \U0001F600 \u65e5", 8)), kPoll},
         "keep\ntext 0061 0000 0062 0020 d83d de00 0020 65e5\nkeep\n"},
        {"an empty text is a text",
         kRealController,
         {kCreate, text(u""), kPoll},
         "text \nkeep\n"},
        {"texts set between two polls coalesce into the latest",
         kRealController,
         {kCreate, text(u"one"), text(u"two"), text(u"3"), kPoll, kPoll},
         "text 0033\nkeep\nkeep\n"},
        {"closeSplash: hidden and the thread detached on its way out",
         kRealController,
         {kCreate, kPoll, kAttached, kClose, kPoll, kAttached},
         "keep\nattached\nhide\nend\ndetached\n"},
        {"close wins over a pending text",
         kRealController,
         {kCreate, text(u"x"), kClose, kPoll},
         "hide\nend\n"},
        {"window no longer visible: the thread ends without a hide",
         kRealController,
         {kCreate, text(u"x"), kPoll, kHidden, text(u"y"), kPoll, kAttached},
         "text 0078\nkeep\nend\ndetached\n"},
        {"close on window: count 1 keeps, count 2 hides",
         kRealController,
         {kCreate, {Op::CloseOnWindow}, kPoll, text(u"z"), kPoll, windows(2), kPoll, kAttached},
         "keep\ntext 007a\nkeep\nhide\nend\ndetached\n"},
    };
    for (const Case& c : cases) check(c);
}

TEST_F(SplashPoll, ManyPollsWithTextsHoldNoLocalReferences) {
    // The splash thread never returns to Java, so nothing frees its local
    // references but the poll itself: a text kept per poll would exhaust the
    // heap long before the end.
    check({"10000 polls, a new long text each",
           kRealController,
           {kCreate, {Op::ManyTexts, u"", kManyPolls}, kClose, kPoll},
           "texts 10000 last 0073 0074 0065 0070 0020 0050 0020 d83d de00 0020 0078 0078\n"
           "hide\nend\n"});
}
#endif

}  // namespace
