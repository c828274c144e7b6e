// The hand-off to the runtime launcher class: its five leading arguments,
// the program arguments after them, and the launcher properties.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "files/Extraction.h"
#include "files/PathHelpers.h"
#include "files/TempFiles.h"
#include "process/Environment.h"
#include "windows/JavaVMLauncher/LaunchProgram.h"

using namespace vexal;

namespace {

struct Entry {
    std::int32_t id;
    const char* value;
};

void configure(std::initializer_list<Entry> entries) {
    configStore().clear();
    for (const Entry& e : entries) configStore().setNarrow(e.id, e.value);
    readLauncherKind();
}

std::u16string wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

struct LeadingCase {
    const char* name;
    std::initializer_list<Entry> entries;
    ArgumentList expected;  // "@" + name: that name beside the executable
};

ArgumentList resolved(ArgumentList list) {
    for (auto& argument : list) {
        if (!argument.empty() && argument[0] == u'@') {
            std::string name(argument.begin() + 1, argument.end());
            argument = wide(executableDirectory() + name);
        }
    }
    return list;
}

TEST(RuntimeLauncherArguments, FiveLeadingInOrder) {
    const LeadingCase cases[] = {
        {"sample configuration",
         {{id::ExecutableType, "1"}, {id::MainClass, "com.example.app.Main"}, {id::ErrorLogWanted, "1"},
          {id::ErrorLogFile, "Error.Log"}, {id::DebugLogWanted, "1"}, {id::DebugLogFile, "debug.log"},
          {id::RuntimeFlag, "1"}},
         {u"true", u"com.example.app.Main", u"@Error.Log", u"@debug.log", u"true"}},
        {"nothing configured: all five still present",
         {},
         {u"false", u"", u"", u"", u"false"}},
        {"error log off: its place stays, empty",
         {{id::ErrorLogFile, "error.log"}, {id::DebugLogWanted, "1"}, {id::DebugLogFile, "debug.log"}},
         {u"false", u"", u"", u"@debug.log", u"false"}},
        {"type 2 is not GUI; flag 2 is on",
         {{id::ExecutableType, "2"}, {id::RuntimeFlag, "2"}},
         {u"false", u"", u"", u"", u"true"}},
        {"absolute log path kept as given",
         {{id::ErrorLogWanted, "1"}, {id::ErrorLogFile, "C:\\Logs\\App.log"}},
         {u"false", u"", u"C:\\Logs\\App.log", u"", u"false"}},
    };
    for (const LeadingCase& c : cases) {
        SCOPED_TRACE(c.name);
        configure(c.entries);
        ArgumentList arguments;
        addRuntimeLauncherArguments(arguments);
        EXPECT_EQ(arguments, resolved(c.expected));
    }
}

struct ProgramCase {
    const char* name;
    const char* allowJ;  // entry 125
    const char* configured;  // entry 124
    ArgumentList commandLine;
    ArgumentList expected;
};

TEST(ProgramArguments, TokenThenUserArgumentsLessJOnes) {
    const ProgramCase cases[] = {
        {"plain", "0", "", {u"app.exe", u"a", u"b c"}, {u"app.exe", u"a", u"b c"}},
        {"-J removed when allowed", "1", "", {u"app.exe", u"-J-Xmx512m", u"x"}, {u"app.exe", u"x"}},
        {"-J kept when not allowed", "0", "", {u"app.exe", u"-J-Xmx512m", u"x"}, {u"app.exe", u"-J-Xmx512m", u"x"}},
        {"only the exact two characters count", "1", "", {u"app.exe", u"-j-Xmx", u"-J", u"J-x", u" -Jx"},
         {u"app.exe", u"-j-Xmx", u"J-x", u" -Jx"}},
        {"the program token stays even if it starts with -J", "1", "", {u"-Japp.exe", u"y"}, {u"-Japp.exe", u"y"}},
        {"no command line at all", "1", "", {}, {}},
        {"entry 124 split between the token and the user's arguments", "1", "-v \"a b\"  'c'",
         {u"app.exe", u"-Jx", u"u1"}, {u"app.exe", u"-v", u"a b", u"c", u"u1"}},
        {"entry 124 -J words are program arguments", "1", "-Jkept", {u"app.exe"}, {u"app.exe", u"-Jkept"}},
    };
    for (const ProgramCase& c : cases) {
        SCOPED_TRACE(c.name);
        configure({{id::AllowJArguments, c.allowJ}, {id::ProgramArguments, c.configured}});
        ArgumentList arguments{u"lead"};
        addProgramArguments(arguments, c.commandLine);
        ArgumentList expected{u"lead"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(arguments, expected);
    }
}

TEST(LauncherProperties, ByKindInOrder) {
    const std::string common[] = {
        "-Dvexal.moduleName=" + ownExePath(),
        "-Dvexal.processCommFile=" + commFileName(GetCurrentProcessId()),
    };
    extractionDir().clear();
    configure({{id::LauncherKind, "v"}});
    EXPECT_EQ(launcherProperties(), (std::vector<std::string>{common[0], common[1], "-Dvexal.tempDir="}));

    extractionDir() = "c:\\temp\\vxl_x1";
    configure({{id::LauncherKind, "k"}});
    EXPECT_EQ(launcherProperties(), (std::vector<std::string>{"-Dvexal.isKorvalith=true", common[0], common[1],
                                                             "-Dvexal.tempDir=c:\\temp\\vxl_x1"}));
    extractionDir().clear();
}

}  // namespace
