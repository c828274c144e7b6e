// The JNI units against the machine's HotSpot. Every launch runs in a child
// process of its own (death tests: a forked child per launch), as a JVM
// cannot be created twice in one process. The child
// ends the way the launcher would: exit 0 after DestroyJavaVM, exit 1 when
// callMain fails (the launcher shows message 1005), exit 1 with the
// configured message on standard error for the fatal paths.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <jni.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/ProcessExit.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/ErrorReport.h"
#include "tests/jvm/TestJvm.h"
#include "windows/JavaVMLauncher/JvmEntry.h"
#include "windows/JavaVMLauncher/JvmSession.h"

namespace fs = std::filesystem;
using namespace vexal;

namespace {

const std::string kClasses = VEXAL_TEST_CLASSES;

enum class Fault { None, ArrayFails, StringFails };

struct Launch {
    std::vector<std::string> classPath;  // class sets, in order
    char kind = 'v';
    bool marker = false;                 // the first-run marker exists
    std::string firstRun = "true";       // the test hook's answer
    ArgumentList arguments;              // the arguments of main
    Fault fault = Fault::None;
    bool pollController = false;         // from a second, attached thread
    std::vector<std::string> options;    // further VM options
};

ArgumentList mainArguments(std::initializer_list<std::u16string> program) {
    ArgumentList list{u"false", u"com.example.App", u"", u"", u"false", u"app.exe"};
    list.insert(list.end(), program);
    return list;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string logText(const fs::path& dir) {
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().filename().string().rfind("kvl_nlog_", 0) == 0) return readFile(entry.path());
    }
    return std::string();
}

// Fault injection: the main thread's function table swapped for a copy in
// which one constructor fails the way it does when the heap is exhausted.
JNINativeInterface_ gFaultyTable;
jstring(JNICALL* gRealNewString)(JNIEnv*, const jchar*, jsize) = nullptr;
const std::u16string kUnmakeable = u"no string for this one";

jobjectArray JNICALL failingNewObjectArray(JNIEnv*, jsize, jclass, jobject) { return nullptr; }

// Fails for one argument text only: the class library's own natives make
// strings through the same table while classes load.
jstring JNICALL newStringFailingForOne(JNIEnv* env, const jchar* text, jsize length) {
    if (std::u16string(reinterpret_cast<const char16_t*>(text), length) == kUnmakeable) return nullptr;
    return gRealNewString(env, text, length);
}

void injectFault(Fault fault) {
    if (fault == Fault::None) return;
    JNIEnv* env = nullptr;
    static_cast<JavaVM*>(javaVm())->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_2);
    gFaultyTable = *env->functions;
    gRealNewString = gFaultyTable.NewString;
    if (fault == Fault::ArrayFails) gFaultyTable.NewObjectArray = failingNewObjectArray;
    if (fault == Fault::StringFails) gFaultyTable.NewString = newStringFailingForOne;
    env->functions = &gFaultyTable;
}

// The splash thread's poll while main runs: attach, ask the controller
// every 10 ms until it has a text (at most 60 s: main may be slow to get
// there on a loaded machine), detach. Writes what it got
// (or why not) to <dir>/controller.
void pollController(const fs::path& dir) {
    std::ofstream out(dir / "controller", std::ios::binary);
    auto* env = static_cast<JNIEnv*>(attachToJvm());
    if (env == nullptr) {
        out << "no environment";
        return;
    }
    jclass controller = env->FindClass("com/vexal/runtime/VexalController");
    jmethodID getAction = controller ? env->GetStaticMethodID(controller, "getAction", "()I") : nullptr;
    jmethodID getText = controller ? env->GetStaticMethodID(controller, "getText", "()Ljava/lang/String;") : nullptr;
    if (getAction == nullptr || getText == nullptr) {
        out << "no controller";
    } else {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            const jint action = env->CallStaticIntMethod(controller, getAction);
            if (action == 2) {
                auto text = static_cast<jstring>(env->CallStaticObjectMethod(controller, getText));
                const char* utf = env->GetStringUTFChars(text, nullptr);
                out << action << ' ' << utf;
                env->ReleaseStringUTFChars(text, utf);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    detachFromJvm();
}

void configure(const Launch& launch, const fs::path& dir) {
    ConfigStore& store = configStore();
    store.clear();
    store.setNarrow(msg::Caption, "Test");
    store.setNarrow(msg::InternalError, "An internal error occurred: %ERROR_CODE%.");
    store.setNarrow(msg::MainClassNotLoaded, "Couldn't load main class.");
    store.setNarrow(msg::MainMethodMissing, "Main method not found.");
    store.setNarrow(id::LauncherKind, std::string(1, launch.kind));
    store.setNarrow(id::InstallRoot, dir.string());
    if (launch.marker) {
        fs::create_directories(dir / ".korvalith");
        std::ofstream(dir / ".korvalith" / "firstrun") << "";
    }
}

std::string classPathOption(const Launch& launch) {
    std::string option = "-Djava.class.path=";
    for (std::size_t i = 0; i < launch.classPath.size(); ++i) {
        if (i > 0) option += ':';
        const std::string& item = launch.classPath[i];
        option += item[0] == '/' ? item : kClasses + "/" + item;
    }
    return option;
}

// The child: one launch, ended like the launcher ends it.
[[noreturn]] void runLaunch(const Launch& launch, const fs::path& dir) {
    setenv("VEXAL_LOG", "yes", 1);
    setenv("TMP", dir.c_str(), 1);
    useConsoleErrors();
    configure(launch, dir);
    void* library = dlopen(vexal::testing::testLibjvm().c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr) {
        std::fprintf(stderr, "dlopen: %s\n", dlerror());
        exitProcessNow(90);
    }
    setJvmEntryPoint(dlsym(library, "JNI_CreateJavaVM"));
    std::vector<std::string> options{classPathOption(launch), "-Dvexal.test.out=" + (dir / "out").string(),
                                     "-Dvexal.test.firstRun=" + launch.firstRun};
    options.insert(options.end(), launch.options.begin(), launch.options.end());
    if (!createJvm(options)) {
        std::fprintf(stderr, "createJvm failed\n");
        exitProcessNow(91);
    }
    std::thread poller;
    if (launch.pollController) poller = std::thread(pollController, dir);
    injectFault(launch.fault);
    const bool called = callMain(launch.arguments);
    // An attached thread counts as a running one: DestroyJavaVM would wait
    // for it.
    if (poller.joinable()) poller.join();
    if (!called) {
        std::fprintf(stderr, "callMain failed\n");
        exitProcessNow(1);
    }
    destroyJvm();
    std::fprintf(stderr, "JVM destroyed\n");
    exitProcessNow(0);
}

class RealJvm : public ::testing::Test {
protected:
    void SetUp() override {
        // Forked children (the default style): this process never creates
        // a JVM, so each child starts from a clean state and shares dir_.
        GTEST_FLAG_SET(death_test_style, "fast");
        std::string pattern = (fs::temp_directory_path() / "vexal-jvm-XXXXXX").string();
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    bool mainCalled() const { return fs::exists(dir_ / "out.args"); }

    fs::path dir_;
};

struct Case {
    const char* name;
    Launch launch;
    int exitCode;
    const char* stderrPattern;
    bool mainCalled;
    const char* logLine;  // a line the diagnostic log must hold
};

const Case kCases[] = {
    {"main throws: false, the stack trace, no destroy",
     {{"app"}, 'v', false, "true", mainArguments({u"throw"})},
     1,
     "main failed on purpose\n\tat com.vexal.runtime.WinLauncher.main",
     true,
     "ERROR: an exception occured\n"},
    {"runtime launcher class missing: message 1010",
     {{"firstrun"}, 'v', false, "true", mainArguments({})},
     1,
     "Couldn't load main class.",
     false,
     "ERROR: could not find main class\n"},
    {"main(String[]) missing: message 1011",
     {{"nomain"}, 'v', false, "true", mainArguments({})},
     1,
     "Main method not found.",
     false,
     "ERROR: could not find main method\n"},
    {"first run answers false: no main, normal end",
     {{"app", "firstrun"}, 'k', true, "false", mainArguments({})},
     0,
     "JVM destroyed",
     false,
     "checkFirstRun stopped further execution\n"},
    {"first run throws: trace, no main, normal end",
     {{"app", "firstrun"}, 'k', true, "throw", mainArguments({})},
     0,
     "first run failed on purpose(.|\n)*JVM destroyed",
     false,
     "checkFirstRun stopped further execution\n"},
    {"first run answers true: main runs",
     {{"app", "firstrun"}, 'k', true, "true", mainArguments({})},
     0,
     "JVM destroyed",
     true,
     "main returned\n"},
    {"kind k without marker: hook untouched (its class is absent)",
     {{"app"}, 'k', false, "false", mainArguments({})},
     0,
     "JVM destroyed",
     true,
     "main returned\n"},
    {"kind v with marker: no first-run check",
     {{"app", "firstrun"}, 'v', true, "false", mainArguments({})},
     0,
     "JVM destroyed",
     true,
     "main returned\n"},
    {"marker but no first-run class: message 1009 with 14",
     {{"app"}, 'k', true, "true", mainArguments({})},
     1,
     "An internal error occurred: 14\\.",
     false,
     ""},
    {"first-run hook of the wrong type: message 1009 with 15",
     {{"app", "badfirstrun"}, 'k', true, "true", mainArguments({})},
     1,
     "An internal error occurred: 15\\.",
     false,
     ""},
    {"argument array cannot be made: false, no main",
     {{"app"}, 'v', false, "true", mainArguments({}), Fault::ArrayFails},
     1,
     "callMain failed",
     false,
     "ERROR: could not create the argument array\n"},
    {"an argument string cannot be made: false, no main",
     {{"app"}, 'v', false, "true", mainArguments({u"y", kUnmakeable}), Fault::StringFails},
     1,
     "callMain failed",
     false,
     "param 7: no string for this one\nERROR: could not create the string of argument 7\n"},
};

TEST_F(RealJvm, LaunchOutcomes) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(dir_)) fs::remove_all(entry.path());
        EXPECT_EXIT(runLaunch(c.launch, dir_), ::testing::ExitedWithCode(c.exitCode), c.stderrPattern);
        EXPECT_EQ(mainCalled(), c.mainCalled);
        if (*c.logLine != '\0') EXPECT_NE(logText(dir_).find(c.logLine), std::string::npos) << logText(dir_);
    }
}

TEST_F(RealJvm, DestroyWaitsForTheApplicationsThreads) {
    // The worker writes its file 500 ms after main returned; the child exits
    // at once after destroyJvm, so the file exists only if destroy waited.
    EXPECT_EXIT(runLaunch({{"app"}, 'v', false, "true", mainArguments({u"worker"})}, dir_),
                ::testing::ExitedWithCode(0), "JVM destroyed");
    EXPECT_EQ(readFile(dir_ / "out.worker"), "worker done\n");
    const std::string log = logText(dir_);
    // The test's runtime launcher class declares no natives: the failed
    // registration is cleared and its main runs as before.
    for (const char* line : {"Creating JVM\n", "main class: com/vexal/runtime/WinLauncher\n",
                             "the runtime launcher class has no native main hand-off: it calls main itself\n",
                             "param count: 7\n",
                             "param 5: app.exe\n", "param 6: worker\n", "calling main\n", "main returned\n"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }
}

TEST_F(RealJvm, ArgumentsArriveAsExactText) {
    // Characters outside any ANSI code page, one outside the BMP, blanks and
    // an empty argument.
    const ArgumentList program{u"\u65e5\u672c\u8a9e", u"\u0142\u00f3d\u017a \u2713", u"\U0001F600 smile", u"",
                               u"-Jnot-removed-here"};
    Launch launch{{"app"}, 'v', false, "true", mainArguments({})};
    launch.arguments.insert(launch.arguments.end(), program.begin(), program.end());
    EXPECT_EXIT(runLaunch(launch, dir_), ::testing::ExitedWithCode(0), "JVM destroyed");
    EXPECT_EQ(readFile(dir_ / "out.args"),
              "false\ncom.example.App\n\n\nfalse\napp.exe\n"
              "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\n"
              "\xC5\x82\xC3\xB3" "d\xC5\xBA \xE2\x9C\x93\n"
              "\xF0\x9F\x98\x80 smile\n"
              "\n"
              "-Jnot-removed-here\n");
}

TEST_F(RealJvm, SecondThreadAttachesPollsAndDetaches) {
    Launch launch{{"app"}, 'v', false, "true", mainArguments({})};
    launch.pollController = true;
    EXPECT_EXIT(runLaunch(launch, dir_), ::testing::ExitedWithCode(0), "JVM destroyed");
    EXPECT_EQ(readFile(dir_ / "controller"), "2 status \xE2\x9C\x93 \xE6\x97\xA5\xE6\x9C\xAC");
}

#ifdef VEXAL_RUNTIME_JAR
// The real runtime launcher (runtime/) with a test application.
class RealRuntime : public RealJvm {
protected:
    Launch launch(std::initializer_list<std::u16string> program, const std::string& errorLog = "",
                  const std::string& debugLog = "") {
        Launch l{{VEXAL_RUNTIME_JAR, VEXAL_KVL_JAR, "realapp"}, 'v', false, "true",
                 {u"false", u"com.example.RecordingApp", wide(errorLog), wide(debugLog), u"false", u"app.exe"}};
        l.arguments.insert(l.arguments.end(), program);
        return l;
    }
    static std::u16string wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }
};

TEST_F(RealRuntime, RunsTheApplicationWithLogsArgumentsAndSplashText) {
    const std::string errorLog = (dir_ / "logs" / "err" / "error.log").string();
    const std::string debugLog = (dir_ / "logs" / "dbg" / "debug.log").string();
    Launch l = launch({u"\u65e5\u672c\u8a9e", u"x y", u"\U0001F600"}, errorLog, debugLog);
    l.pollController = true;
    EXPECT_EXIT(runLaunch(l, dir_), ::testing::ExitedWithCode(0), "JVM destroyed");
    EXPECT_EQ(readFile(dir_ / "out.args"), "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\nx y\n\xF0\x9F\x98\x80\n");
    EXPECT_EQ(readFile(dir_ / "out.props"), "firstRun=null\ntoken=app.exe\n");
    EXPECT_EQ(readFile(errorLog), "error line from the app\n");
    EXPECT_EQ(readFile(debugLog), "debug line from the app\n");
    EXPECT_EQ(readFile(dir_ / "out.worker"), "worker done\n");
    EXPECT_EQ(readFile(dir_ / "controller"), "2 Loading \xE2\x9C\x93");
}

// The real runtime launcher calls the application's main through the
// natives the launcher registered on it: the native frame sits right below
// main, with no reflective call between them.
TEST_F(RealRuntime, ApplicationExceptionReachesTheLauncher) {
    EXPECT_EXIT(runLaunch(launch({u"throw"}), dir_), ::testing::ExitedWithCode(1),
                "application failed on purpose\n\tat com.example.RecordingApp.main\\([^)]*\\)\n"
                "\tat com.vexal.runtime.WinLauncher.callMain\\(Native Method\\)(.|\n)*callMain failed");
    const std::string log = logText(dir_);
    EXPECT_NE(log.find("native main hand-off registered\n"), std::string::npos) << log;
    EXPECT_NE(log.find("calling the application's main\n"), std::string::npos) << log;
    EXPECT_NE(log.find("ERROR: an exception occured\n"), std::string::npos);
}

TEST_F(RealRuntime, MissingApplicationClassReachesTheLauncher) {
    Launch l = launch({});
    l.arguments[1] = u"com.example.Absent";
    EXPECT_EXIT(runLaunch(l, dir_), ::testing::ExitedWithCode(1),
                "ClassNotFoundException: com.example.Absent(.|\n)*callMain failed");
}

TEST_F(RealRuntime, FirstRunHookEndsItsMarkerAndMainRuns) {
    Launch l = launch({});
    l.kind = 'k';
    l.marker = true;
    l.options = {"-Dvexal.installRoot=" + dir_.string()};
    EXPECT_EXIT(runLaunch(l, dir_), ::testing::ExitedWithCode(0), "JVM destroyed");
    EXPECT_EQ(readFile(dir_ / "out.props"), "firstRun=true\ntoken=app.exe\n");
    EXPECT_FALSE(fs::exists(dir_ / ".korvalith" / "firstrun"));
}
#endif

TEST(JvmSessionBeforeCreation, NoJvmNoEnvironment) {
    EXPECT_FALSE(jvmCreated());
    EXPECT_EQ(javaVm(), nullptr);
    EXPECT_EQ(attachToJvm(), nullptr);
    detachFromJvm();  // nothing to detach from: must not reach into JNI
}

}  // namespace
