// The launch under Wine against the scripted JNI stand-in (fixtures/jni-standin):
// the JNI calls in their order, the option list, the argument layout of the
// runtime launcher's main, the class path from the extraction directory, and
// the messages and exit codes of each failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "config/ConfigIds.h"
#include "tests/e2e/Launchers.h"
#include "tests/e2e/SearchRuns.h"
#include "tests/support/ExeBuilder.h"

namespace vexal::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLauncherClass = "com/vexal/runtime/WinLauncher";
constexpr const char* kMainSignature = "([Ljava/lang/String;)V";
constexpr const char* kCallMainSignature = "(Ljava/lang/Class;[Ljava/lang/String;)V";

struct LaunchRun {
    ProcessResult result;
    Lines log;    // the diagnostic log without its header
    Lines trace;  // the stand-in's trace
};

// The trace lines that start with prefix, without it.
Lines withPrefix(const Lines& lines, const std::string& prefix) {
    Lines found;
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0) found.push_back(line.substr(prefix.size()));
    return found;
}

// Lines of a file written with LF endings by the stand-in.
Lines lfLines(const std::string& text) {
    Lines lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class JvmLaunch : public ::testing::Test {
protected:
    ConfigStore store = typicalMessages("2");
    Launcher launcher = makeLauncher(StubKind::Gui, std::string());
    std::string script = std::string("class ") + kLauncherClass + "\nclass java/lang/String\nmethod " +
                         kLauncherClass + " main " + kMainSignature + "\n";
    std::vector<std::string> environment;
    std::string records;  // included-file records behind the block

    JvmLaunch() {
        makeRuntime(fs::path(launcher.dir) / "jre", "client", "jni-standin/jvm.dll");
        store.setNarrow(id::SearchSequence, "B" + windowsPath(launcher.dir) + "\\jre");
        store.setNarrow(id::MainClass, "com.example.App");
    }

    fs::path libraryDir() const { return fs::path(launcher.dir) / "jre" / "bin" / "client"; }
    std::string dirWin() const { return windowsPath(launcher.dir); }

    // One start with the command line "<exe>" + arguments (exactly as given).
    LaunchRun run(const std::string& arguments = std::string()) {
        writeText(libraryDir() / "script.txt", script);
        fs::remove(libraryDir() / "jni-trace.txt");
        ExeBuilder(stubPath(StubKind::Gui)).block(store).raw(records).write(launcher.exe);
        const std::string tmp = launcher.dir + "/tmp";
        fs::remove_all(tmp);
        fs::create_directories(tmp);
        RunnerSpec spec;
        spec.app = launcher.exe;
        spec.exactCommandLine = "\"" + windowsPath(launcher.exe) + "\"" + arguments;
        spec.environment = baseEnvironment();
        spec.environment.push_back("TMP=" + windowsPath(tmp));
        spec.environment.push_back("VEXAL_LOG=yes");
        for (const std::string& entry : environment) spec.environment.push_back(entry);
        LaunchRun r{runThroughRunner(spec, launcher.dir), {}, {}};
        for (const auto& entry : fs::directory_iterator(tmp)) {
            if (entry.path().filename().string().rfind("kvl_nlog_", 0) != 0) continue;
            r.log = crlfLines(readBinaryFile(entry.path().string()));
            r.log.erase(r.log.begin(), r.log.begin() + std::min<std::size_t>(2, r.log.size()));
        }
        if (fs::exists(libraryDir() / "jni-trace.txt"))
            r.trace = lfLines(readBinaryFile((libraryDir() / "jni-trace.txt").string()));
        return r;
    }

    // The message of id as the launcher shows it, with one placeholder filled.
    std::string message(std::int32_t messageId, const std::string& placeholder = std::string(),
                        const std::string& value = std::string()) const {
        std::string text = store.narrow(messageId);
        if (!placeholder.empty()) {
            const std::size_t at = text.find(placeholder);
            if (at != std::string::npos) text.replace(at, placeholder.size(), value);
        }
        return textMode(text);
    }
};

// The JNI calls themselves, without the options of the initialisation record.
Lines calls(const Lines& trace) {
    Lines found;
    for (const std::string& line : trace)
        if (line.rfind("option ", 0) != 0) found.push_back(line);
    return found;
}

TEST_F(JvmLaunch, ExampleLikeLaunchMakesExactlyTheseCalls) {
    const LaunchRun r = run(" alpha");
    EXPECT_EQ(r.result.exitCode, 0) << r.result.err;
    Lines expected = {"JNI_CreateJavaVM version=0x00010002 ignoreUnrecognized=1 nOptions=" +
                          std::to_string(withPrefix(r.trace, "option ").size()),
                      "JNI_CreateJavaVM -> 0",
                      std::string("FindClass ") + kLauncherClass,
                      std::string("RegisterNatives ") + kLauncherClass + " callMain " + kCallMainSignature,
                      std::string("RegisterNatives ") + kLauncherClass + " hasNativeMain ()Z",
                      std::string("GetStaticMethodID ") + kLauncherClass + " main " + kMainSignature,
                      "FindClass java/lang/String",
                      "NewObjectArray 7 java/lang/String NULL"};
    const Lines strings = withPrefix(r.trace, "NewString ");
    ASSERT_EQ(strings.size(), 7u) << ::testing::PrintToString(r.trace);
    for (std::size_t i = 0; i < strings.size(); ++i) {
        expected.push_back("NewString " + strings[i]);
        expected.push_back("SetObjectArrayElement array " + std::to_string(i) + " " + std::to_string(i));
    }
    expected.push_back("CallStaticVoidMethod main");
    expected.push_back("ExceptionOccurred -> NULL");
    expected.push_back("DestroyJavaVM");
    EXPECT_EQ(calls(r.trace), expected);
    EXPECT_TRUE(contains(r.log, "JVM created"));
}

// The five leading arguments, the program token, entry 124 and the user's
// arguments; "-J" arguments are dropped when entry 125 is on, kept when off.
TEST_F(JvmLaunch, MainArgumentLayout) {
    store.setNarrow(id::ProgramArguments, "-fixed \"two words\"");
    struct Row {
        const char* allowJ;
        Lines users;
    } rows[] = {
        {"1", {"user1", "with space"}},
        {"0", {"user1", "-J-Xmx64m", "with space"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.allowJ);
        store.setNarrow(id::AllowJArguments, row.allowJ);
        const LaunchRun r = run(" user1 -J-Xmx64m \"with space\"");
        EXPECT_EQ(r.result.exitCode, 0) << r.result.err;
        const Lines strings = withPrefix(r.trace, "NewString ");
        ASSERT_GE(strings.size(), 6u) << ::testing::PrintToString(r.trace);
        EXPECT_EQ(Lines(strings.begin(), strings.begin() + 5),
                  (Lines{"false", "com.example.App", "", "", "false"}));
        EXPECT_EQ(strings[5], windowsPath(launcher.exe));  // the program token
        const Lines options = withPrefix(r.trace, "option ");
        EXPECT_EQ(contains(options, "-Xmx64m"), std::string(row.allowJ) == "1");
        Lines rest(strings.begin() + 6, strings.end());
        Lines expected = {"-fixed", "two words"};
        expected.insert(expected.end(), row.users.begin(), row.users.end());
        EXPECT_EQ(rest, expected);
    }
}

// The five leading arguments follow the application type, the logs and the
// runtime flag.
TEST_F(JvmLaunch, LeadingArguments) {
    store.setNarrow(id::ExecutableType, "1");
    store.setNarrow(id::ErrorLogWanted, "1");
    store.setNarrow(id::ErrorLogFile, "logs\\err.log");
    store.setNarrow(id::DebugLogWanted, "1");
    store.setNarrow(id::DebugLogFile, "dbg.log");
    store.setNarrow(id::RuntimeFlag, "1");
    const LaunchRun r = run();
    EXPECT_EQ(r.result.exitCode, 0) << r.result.err;
    const Lines strings = withPrefix(r.trace, "NewString ");
    ASSERT_EQ(strings.size(), 6u) << ::testing::PrintToString(r.trace);
    EXPECT_EQ(strings[0], "true");
    EXPECT_EQ(strings[1], "com.example.App");
    auto endsWith = [](const std::string& text, const std::string& end) {
        return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0 &&
               text[1] == ':';
    };
    EXPECT_TRUE(endsWith(lower(strings[2]), "\\logs\\err.log")) << strings[2];
    EXPECT_TRUE(endsWith(lower(strings[3]), "\\dbg.log")) << strings[3];
    EXPECT_EQ(strings[4], "true");
}

// Kind 'k' asks the first-run hook only while its marker exists; false
// from the hook ends the launch without main, with exit code 0.
TEST_F(JvmLaunch, FirstRunHook) {
    store.setNarrow(id::LauncherKind, "k");
    store.setNarrow(id::InstallRoot, ".");
    const std::string hookScript = script + "class com/korvalith/runtime/FirstRun\n"
                                            "method com/korvalith/runtime/FirstRun firstRun ()Z\n";
    struct Row {
        const char* name;
        bool marker;
        const char* answer;
        bool hookCalled;
        bool mainCalled;
    } rows[] = {
        {"no marker", false, "false", false, true},
        {"hook goes on", true, "true", true, true},
        {"hook stops", true, "false", true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove(fs::path(launcher.dir) / ".korvalith" / "firstrun");
        if (row.marker) writeText(fs::path(launcher.dir) / ".korvalith" / "firstrun", "");
        script = hookScript + "firstrun " + row.answer + "\n";
        const LaunchRun r = run();
        EXPECT_EQ(r.result.exitCode, 0) << r.result.err;
        EXPECT_EQ(contains(r.trace, std::string("CallStaticBooleanMethod firstRun -> ") + row.answer), row.hookCalled)
            << ::testing::PrintToString(r.trace);
        EXPECT_EQ(contains(r.trace, "CallStaticVoidMethod main"), row.mainCalled);
        EXPECT_EQ(contains(r.trace, "DestroyJavaVM"), true);
    }
}

// Options in order: launcher properties, .vmoptions lines, class path,
// entry 123, "-J" options of the command line, sun.java.command.
TEST_F(JvmLaunch, OptionOrderForBothKinds) {
    store.setNarrow(id::VmParameters, "-Dfrom=123 -Xss1m");
    store.setNarrow(id::AllowJArguments, "1");
    store.setNarrow(id::ClassPath, "A0lib\\app.jar");
    writeText(launcher.exe + ".vmoptions", "-Dline=one\r\n\r\n# kept\r\n");
    struct Row {
        const char* kind;
        Lines properties;
        const char* runtimeJar;
    } rows[] = {
        {"v", {}, ""},
        {"k", {"-Dvexal.isKorvalith=true"}, ".korvalith\\kvlruntime.jar;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        store.setNarrow(id::LauncherKind, row.kind);
        const LaunchRun r = run(" -J-Xmx32m plain");
        const Lines options = withPrefix(r.trace, "option ");
        ASSERT_GE(options.size(), 6u) << ::testing::PrintToString(r.trace);
        Lines properties;
        for (const std::string& option : options)
            if (option.rfind("-Dvexal.", 0) == 0) properties.push_back(option);
        ASSERT_EQ(properties.size(), 3u + row.properties.size()) << ::testing::PrintToString(options);
        for (std::size_t i = 0; i < row.properties.size(); ++i) EXPECT_EQ(properties[i], row.properties[i]);
        EXPECT_EQ(properties[row.properties.size()].rfind("-Dvexal.moduleName=", 0), 0u);
        EXPECT_EQ(properties[row.properties.size() + 1].rfind("-Dvexal.processCommFile=", 0), 0u);
        EXPECT_EQ(properties[row.properties.size() + 2].rfind("-Dvexal.tempDir=", 0), 0u);
        const std::size_t n = properties.size();
        EXPECT_EQ(Lines(options.begin(), options.begin() + n), properties);
        Lines tail(options.begin() + n, options.end());
        ASSERT_EQ(tail.size(), 8u) << ::testing::PrintToString(tail);
        EXPECT_EQ(tail[0], "-Dline=one");
        EXPECT_EQ(tail[1], "");
        EXPECT_EQ(tail[2], "# kept");
        EXPECT_EQ(tail[3].rfind("-Djava.class.path=", 0), 0u) << tail[3];
        const std::size_t app = tail[3].find("\\lib\\app.jar");
        EXPECT_NE(app, std::string::npos) << tail[3];
        if (*row.runtimeJar) EXPECT_LT(tail[3].find(row.runtimeJar), app) << tail[3];
        else EXPECT_EQ(tail[3].find("kvlruntime"), std::string::npos) << tail[3];
        // Last, as java sets it: what jps shows (main's arguments, no "-J" one).
        EXPECT_EQ(Lines(tail.begin() + 4, tail.end()),
                  (Lines{"-Dfrom=123", "-Xss1m", "-Xmx32m", "-Dsun.java.command=com.example.App plain"}));
    }
}

// The runtime launcher class hands the application class to the natives that
// the launcher registered on it; they call its main through JNI. A class
// without the natives (an older runtime) gets the failed registration
// cleared and runs as before.
TEST_F(JvmLaunch, NativeHandOffCallsTheApplicationsMain) {
    const std::string app = "com/example/App";
    const std::string handOff = script + "class " + app + "\nmethod " + app + " main " + kMainSignature + "\napp " + app + "\n";
    const std::string registered = std::string("RegisterNatives ") + kLauncherClass + " hasNativeMain ()Z";
    struct Row {
        const char* name;
        std::string script;
        int exitCode;
        Lines calls;  // from the call of the runtime launcher's main on
    } rows[] = {
        {"hand-off", handOff, 0,
         {"CallStaticVoidMethod main", "hasNativeMain -> true", "callMain " + app,
          "GetStaticMethodID " + app + " main " + kMainSignature, "CallStaticVoidMethod main", "callMain returned",
          "ExceptionOccurred -> NULL", "DestroyJavaVM"}},
        {"the application's exception leaves the runtime launcher", handOff + "throws\n", 1,
         {"CallStaticVoidMethod main", "hasNativeMain -> true", "callMain " + app,
          "GetStaticMethodID " + app + " main " + kMainSignature, "CallStaticVoidMethod main",
          "callMain returned with an exception", "ExceptionOccurred -> exception", "ExceptionDescribe",
          "DestroyJavaVM"}},
        {"no natives declared: cleared, main as before", handOff + "no-natives\n", 0,
         {"CallStaticVoidMethod main", "ExceptionOccurred -> NULL", "DestroyJavaVM"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        script = row.script;
        const LaunchRun r = run();
        EXPECT_EQ(r.result.exitCode, row.exitCode) << r.result.err;
        const Lines trace = calls(r.trace);
        const auto main = std::find(trace.begin(), trace.end(), "CallStaticVoidMethod main");
        ASSERT_NE(main, trace.end()) << ::testing::PrintToString(trace);
        EXPECT_EQ(Lines(main, trace.end()), row.calls);
        const bool failed = row.script.find("no-natives") != std::string::npos;
        EXPECT_EQ(contains(trace, "RegisterNatives -> -1"), failed);
        EXPECT_EQ(contains(trace, "ExceptionClear"), failed);
        EXPECT_TRUE(contains(trace, registered)) << ::testing::PrintToString(trace);
        EXPECT_TRUE(contains(r.log, failed ? "the runtime launcher class has no native main hand-off: it calls main itself"
                                           : "native main hand-off registered"))
            << ::testing::PrintToString(r.log);
        EXPECT_EQ(count(r.result.err, "UNEXPECTED"), 0);
    }
}

// Class-data sharing (entry 154 "auto") under Wine: the options that reach
// the JVM for each kind of runtime (its release file), the archive that the
// JVM writes at its end put in place in %LOCALAPPDATA%\vexal\cds and used by
// the next run, and the user's own sharing option winning.
TEST_F(JvmLaunch, ClassDataSharingOptionsByRuntime) {
    const std::string appData = launcher.dir + "/appdata";
    environment = {"LOCALAPPDATA=" + windowsPath(appData)};
    store.setNarrow(id::ClassDataSharing, "auto");
    script += "writes-archive\n";
    const std::string cds = windowsPath(appData) + "\\vexal\\cds\\";
    struct Row {
        const char* name;
        const char* release;  // JAVA_VERSION; null: no release file
        bool baseArchives;    // classes.jsa and classes_nocoops.jsa beside jvm.dll
        Lines created;        // options of the first run, the archive path as "@"
        Lines used;           // of the second run
        const char* extension;
    } rows[] = {
        {"Java 17: a dynamic archive", "17.0.2", true, {"-XX:ArchiveClassesAtExit=@", "-Xlog:cds*=off"},
         {"-XX:SharedArchiveFile=@", "-Xlog:cds*=off"}, ".jsa"},
        {"Java 17 without its base archives: nothing", "17.0.2", false, {}, {}, ""},
        {"Java 25: an AOT cache (no base archive needed)", "25.0.1", false,
         {"-XX:AOTCacheOutput=@", "-XX:+UnlockDiagnosticVMOptions", "-XX:-DisplayVMOutput", "-Xlog:aot*=off",
          "-Xlog:cds*=off"},
         {"-XX:AOTCache=@", "-Xlog:aot*=off", "-Xlog:cds*=off"}, ".aot"},
        {"Java 11: nothing", "11.0.2", true, {}, {}, ""},
        {"no release file: nothing", nullptr, true, {}, {}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(appData);
        fs::remove(fs::path(launcher.dir) / "jre" / "release");
        for (const char* base : {"classes.jsa", "classes_nocoops.jsa"}) {
            fs::remove(libraryDir() / base);
            if (row.baseArchives) writeText(libraryDir() / base, "");
        }
        if (row.release) writeText(fs::path(launcher.dir) / "jre" / "release",
                                   std::string("JAVA_VERSION=\"") + row.release + "\"\n");
        for (int pass = 0; pass < 2; ++pass) {
            SCOPED_TRACE(pass == 0 ? "first run" : "second run");
            const LaunchRun r = run();
            EXPECT_EQ(r.result.exitCode, 0) << r.result.err;
            const Lines options = withPrefix(r.trace, "option ");
            // Behind the launcher's properties, ahead of the class path.
            std::size_t first = 0;
            while (first < options.size() && options[first].rfind("-Dvexal.", 0) == 0) ++first;
            const Lines& expected = pass == 0 ? row.created : row.used;
            ASSERT_GE(options.size(), first + expected.size()) << ::testing::PrintToString(options);
            Lines sharing(options.begin() + first, options.begin() + first + expected.size());
            for (std::size_t i = 0; i < expected.size(); ++i) {
                const std::size_t at = expected[i].find('@');
                if (at == std::string::npos) continue;
                const std::string prefix = expected[i].substr(0, at);
                ASSERT_EQ(sharing[i].rfind(prefix + cds, 0), 0u) << sharing[i];
                const std::string name = sharing[i].substr(prefix.size() + cds.size());
                if (pass == 0) {
                    EXPECT_NE(name.find(".part"), std::string::npos) << name;
                } else {
                    EXPECT_EQ(name.substr(name.size() - 7), std::string("-64") + row.extension) << name;
                }
                sharing[i] = expected[i];
            }
            EXPECT_EQ(sharing, expected);
            EXPECT_EQ(contains(options, "exit"), pass == 0 && !row.created.empty());
            if (expected.empty()) {
                EXPECT_EQ(options[first].rfind("-Djava.class.path=", 0), 0u) << options[first];
            }
        }
        std::size_t archives = 0;
        if (fs::exists(appData + "/vexal/cds")) {
            for (const auto& entry : fs::directory_iterator(appData + "/vexal/cds")) {
                EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();
                ++archives;
            }
        }
        EXPECT_EQ(archives, row.created.empty() ? 0u : 1u);
    }
}

// The application ends the process itself (System.exit): the JVM's exit hook
// puts the archive in place; a sharing option of the user's leaves it all to
// the user; included files come from their content-addressed place.
TEST_F(JvmLaunch, ClassDataSharingAtSystemExitWithUserOptionsAndIncludedFiles) {
    const std::string appData = launcher.dir + "/appdata";
    environment = {"LOCALAPPDATA=" + windowsPath(appData)};
    store.setNarrow(id::ClassDataSharing, "auto");
    writeText(fs::path(launcher.dir) / "jre" / "release", "JAVA_VERSION=\"21.0.4\"\n");
    for (const char* base : {"classes.jsa", "classes_nocoops.jsa"}) writeText(libraryDir() / base, "");
    const std::string digest(64, 'a');
    store.setNarrow(id::IncludedFileCount, "1");
    store.setNarrow(id::IncludedFileNames, "lib.jar");
    store.setNarrow(id::IncludedFilesDigest, digest);
    records = std::string("\x03\0\0\0", 4) + "\x1b\x18\x19";  // "ABC" masked

    script += "writes-archive\nexit 3\n";
    LaunchRun r = run();
    EXPECT_EQ(r.result.exitCode, 3) << r.result.err;
    EXPECT_TRUE(contains(r.trace, "System.exit 3 hook=yes")) << ::testing::PrintToString(r.trace);
    const std::string place = appData + "/vexal/files/" + digest;
    EXPECT_EQ(readBinaryFile(place + "/lib.jar"), "ABC");
    EXPECT_TRUE(contains(withPrefix(r.trace, "option "), "-Dvexal.tempDir=" + windowsPath(place)))
        << ::testing::PrintToString(r.trace);
    std::vector<std::string> archives;
    for (const auto& entry : fs::directory_iterator(appData + "/vexal/cds")) archives.push_back(entry.path().string());
    ASSERT_EQ(archives.size(), 1u);
    EXPECT_EQ(archives[0].substr(archives[0].size() - 7), "-64.jsa") << archives[0];

    r = run();
    EXPECT_TRUE(contains(r.log, "Included files from " + windowsPath(place))) << ::testing::PrintToString(r.log);
    EXPECT_TRUE(contains(withPrefix(r.trace, "option "), "-XX:SharedArchiveFile=" + windowsPath(archives[0])))
        << ::testing::PrintToString(r.trace);

    writeText(launcher.exe + ".vmoptions", "-Xshare:off\r\n");
    r = run();
    const Lines options = withPrefix(r.trace, "option ");
    for (const std::string& option : options) {
        EXPECT_EQ(option.find("SharedArchiveFile"), std::string::npos) << option;
        EXPECT_EQ(option.find("-Xlog"), std::string::npos) << option;
    }
    EXPECT_TRUE(contains(r.log, "class-data sharing: left to the option -Xshare:off")) << ::testing::PrintToString(r.log);
}

// Failures of the launch and what the user gets: exit code, message, trace.
TEST_F(JvmLaunch, FailuresEndWithTheirMessages) {
    const std::string base = script;
    struct Row {
        const char* name;
        std::string script;
        std::int32_t message;
        const char* logLine;
        std::string lastCall;
    } rows[] = {
        // The JVM is destroyed (other threads end, hooks run) before the message.
        {"main throws", base + "throws\n", msg::JvmNotStarted, "ERROR: an exception occured", "DestroyJavaVM"},
        {"no runtime class", "class java/lang/String\n", msg::MainClassNotLoaded, "ERROR: could not find main class",
         "FindClass com/vexal/runtime/WinLauncher -> NULL"},
        {"no main", std::string("class ") + kLauncherClass + "\n", msg::MainMethodMissing,
         "ERROR: could not find main method",
         std::string("GetStaticMethodID ") + kLauncherClass + " main " + kMainSignature + " -> NULL"},
        {"create fails", base + "create -1\n", msg::JvmNotStarted, "ERROR: could not initialize JVM",
         "JNI_CreateJavaVM -> -1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        script = row.script;
        const LaunchRun r = run();
        EXPECT_EQ(r.result.exitCode, 1);
        ASSERT_FALSE(r.trace.empty());
        EXPECT_EQ(r.trace.back(), row.lastCall);
        EXPECT_TRUE(contains(r.log, row.logLine)) << ::testing::PrintToString(r.log);
        EXPECT_EQ(count(r.result.err, message(row.message)), 1) << r.result.err;
        EXPECT_EQ(count(r.result.err, "UNEXPECTED"), 0);
        const bool threw = row.lastCall == "DestroyJavaVM";
        EXPECT_EQ(count(r.result.err, "scripted failure"), threw ? 1 : 0);
        if (threw) {
            ASSERT_GE(r.trace.size(), 2u);
            EXPECT_EQ(r.trace[r.trace.size() - 2], "ExceptionDescribe");
        }
    }
}

// Class path and argument faults stop before the JVM is created.
TEST_F(JvmLaunch, ConfigurationFaultsStopBeforeTheJvm) {
    struct Row {
        const char* name;
        std::int32_t entry;
        const char* value;
        std::int32_t message;
        const char* placeholder;
        const char* shown;
        bool created;
    } rows[] = {
        {"missing required item", id::ClassPath, "A1lib\\missing.jar", msg::ClassPathMissing, "%FILE_NAME%",
         "lib\\missing.jar", false},
        {"undefined variable", id::ClassPath, "E1VEXAL_UNSET_CP", msg::EnvVarUndefined, "%ENV_VAR_NAME%",
         "VEXAL_UNSET_CP", false},
        {"unclosed quote in 123", id::VmParameters, "-Da=\"open", msg::WrongParameter, "", "", false},
        {"unclosed quote in 124", id::ProgramArguments, "\"open", msg::WrongParameter, "", "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        store = typicalMessages("2");
        store.setNarrow(id::SearchSequence, "B" + dirWin() + "\\jre");
        store.setNarrow(id::MainClass, "com.example.App");
        store.setNarrow(row.entry, row.value);
        const LaunchRun r = run();
        EXPECT_NE(r.result.exitCode, 0);
        EXPECT_EQ(count(r.result.err, message(row.message, row.placeholder, row.shown)), 1) << r.result.err;
        EXPECT_EQ(!r.trace.empty(), row.created) << ::testing::PrintToString(r.trace);
        EXPECT_EQ(count(r.result.err, "UNEXPECTED"), 0);
    }
}

// Archives of the extraction directory: every jar before every zip.
TEST_F(JvmLaunch, ExtractedJarsBeforeZips) {
    store.setNarrow(id::IncludedFileCount, "3");
    store.setNarrow(id::IncludedFileNames, "b.zip;a.jar;c.jar");
    for (int i = 0; i < 3; ++i) records += std::string("\x01\0\0\0", 4) + "\x5A";  // one zero byte each
    const LaunchRun r = run();
    const Lines options = withPrefix(r.trace, "option ");
    std::string classPath;
    for (const std::string& option : options)
        if (option.rfind("-Djava.class.path=", 0) == 0) classPath = option;
    ASSERT_FALSE(classPath.empty()) << ::testing::PrintToString(r.trace);
    std::string tempDir;
    for (const std::string& option : options)
        if (option.rfind("-Dvexal.tempDir=", 0) == 0) tempDir = option.substr(16);
    ASSERT_FALSE(tempDir.empty()) << ::testing::PrintToString(options);
    EXPECT_EQ(classPath.rfind("-Djava.class.path=" + tempDir, 0), 0u) << classPath << " / " << tempDir;
    // No empty element anywhere: Java would read it as the working directory.
    EXPECT_EQ(classPath.find(";;"), std::string::npos) << classPath;
    EXPECT_NE(classPath.back(), ';') << classPath;
    const std::size_t a = classPath.find("a.jar;"), c = classPath.find("c.jar;"), b = classPath.find("b.zip");
    EXPECT_NE(a, std::string::npos) << classPath;
    EXPECT_NE(c, std::string::npos) << classPath;
    EXPECT_NE(b, std::string::npos) << classPath;
    EXPECT_LT(std::max(a, c), b) << classPath;
}

}  // namespace
}  // namespace vexal::testing
