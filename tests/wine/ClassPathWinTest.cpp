#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "files/PathHelpers.h"
#include "tests/wine/WinScratch.h"
#include "windows/JavaVMLauncher/ClassPath.h"
#include "windows/JavaVMLauncher/EnvironmentBlock.h"
#include "windows/JavaVMLauncher/VmOptions.h"

using namespace vexal;
using vexal::testing::ScratchDir;
using vexal::testing::writeFile;

namespace {

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(ClassPathWin, ListArchivesMatchesTheExtensionOnly) {
    ScratchDir dir("vexal-cp-list");
    for (const char* name : {"b.jar", "a.zip", "a.jar", "notes.txt", "jar"}) writeFile(dir.path() + "\\" + name, "");
    CreateDirectoryA((dir.path() + "\\sub.jar").c_str(), nullptr);  // listed too: nothing is filtered

    struct Row {
        const char* extension;
        std::vector<std::string> names;
    } rows[] = {
        {"jar", {"a.jar", "b.jar", "sub.jar"}},
        {".jar", {"a.jar", "b.jar", "sub.jar"}},
        {"zip", {"a.zip"}},
        {"class", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.extension);
        EXPECT_EQ(sorted(listArchives(dir.path(), row.extension)), row.names);
    }
    EXPECT_TRUE(listArchives(dir.path() + "\\missing", "jar").empty());
}

TEST(ClassPathWin, AppendArchivesPutsJarsBeforeZips) {
    ScratchDir dir("vexal-cp-append");
    for (const char* name : {"b.jar", "a.zip", "a.jar"}) writeFile(dir.path() + "\\" + name, "");
    std::string classPath = "-Djava.class.path=;";
    EXPECT_TRUE(appendArchives(classPath, dir.path(), "jar"));
    EXPECT_TRUE(appendArchives(classPath, dir.path(), "zip"));
    const std::string a = dir.path() + "\\a.jar;", b = dir.path() + "\\b.jar;", z = dir.path() + "\\a.zip;";
    const std::string head = "-Djava.class.path=;";
    EXPECT_TRUE(classPath == head + a + b + z || classPath == head + b + a + z) << classPath;

    ScratchDir empty("vexal-cp-empty");
    std::string untouched = "x;";
    EXPECT_TRUE(appendArchives(untouched, empty.path(), "jar"));
    EXPECT_FALSE(appendArchives(untouched, empty.path() + "\\missing", "jar"));
    EXPECT_EQ(untouched, "x;");
}

TEST(ClassPathWin, EnvironmentBlockAndSubstitution) {
    ASSERT_TRUE(SetEnvironmentVariableA("VexalCpTest", "c:\\libs"));
    const std::vector<std::string> block = environmentBlock();
    EXPECT_NE(std::find(block.begin(), block.end(), "VexalCpTest=c:\\libs"), block.end());
    for (const std::string& entry : block) EXPECT_FALSE(entry.empty());

    std::string text = "${VexalCpTest};${VEXALCPTEST};${vexalcptest};%VexalCpTest%;${VEXAL_EXEDIR}";
    substituteVariables(text);
    EXPECT_EQ(text, "c:\\libs;c:\\libs;${vexalcptest};%VexalCpTest%;" + resolveAgainstExeDir(""));
    SetEnvironmentVariableA("VexalCpTest", nullptr);
}

TEST(ClassPathWin, BuildClassPathWithoutSources) {
    configStore().clear();
    EXPECT_EQ(buildClassPath(), "-Djava.class.path=");
    configStore().setNarrow(id::ClassPath, "D1.\\.;A0missing.jar");
    EXPECT_EQ(buildClassPath(), "-Djava.class.path=" + executableDirectory() + ".\\.;" + executableDirectory() +
                                    "missing.jar");
    configStore().clear();
}

TEST(ClassPathWin, VmOptionsFileBesideTheExecutableAndTheOrder) {
    const std::string vmoptions = longPathName(ownExePath()) + ".vmoptions";
    writeFile(vmoptions, "-Xms64m\r\n\r\n# kept\r\n-Dd=%VEXAL_EXEDIR%");
    configStore().clear();
    configStore().setNarrow(id::VmParameters, "\"-Xmx256m\" '-Dp=a b' -De=${VEXAL_EXEDIR}");
    configStore().setNarrow(id::AllowJArguments, "1");
    const ArgumentList arguments = {u"app.exe", u"-J-Xss1m", u"x", u"-J"};
    const std::vector<std::string> options = buildVmOptions({"-Dvexal.tempDir=t"}, arguments);
    const std::vector<std::string> expected = {"-Dvexal.tempDir=t", "-Xms64m", "", "# kept", "-Dd=%VEXAL_EXEDIR%",
                                               "-Djava.class.path=", "-Xmx256m", "-Dp=a b",
                                               "-De=" + resolveAgainstExeDir(""), "-Xss1m", "",
                                               "-Dsun.java.command= x"};
    EXPECT_EQ(options, expected);

    DeleteFileA(vmoptions.c_str());
    configStore().setNarrow(id::AllowJArguments, "0");
    configStore().setNarrow(id::VmParameters, "");
    // With entry 125 off, main gets the "-J" arguments, and so does the command.
    EXPECT_EQ(buildVmOptions({}, arguments),
              (std::vector<std::string>{"-Djava.class.path=", "-Dsun.java.command= -J-Xss1m x -J"}));
    configStore().clear();
}
