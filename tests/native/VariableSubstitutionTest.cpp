#include <gtest/gtest.h>

#include "windows/JavaVMLauncher/ClassPath.h"
#include "windows/JavaVMLauncher/VariableSubstitution.h"

using namespace vexal;

namespace {

std::string substitute(std::string text, const std::vector<std::string>& environment,
                       const LauncherVariables& variables = {"c:\\app\\", "c:\\tmp\\x1"}) {
    substituteVariablesWith(text, variables, environment);
    return text;
}

}  // namespace

TEST(VariableSubstitution, LauncherVariablesAndEnvironmentReferences) {
    const std::vector<std::string> env = {"Path=c:\\bin", "USERPROFILE=c:\\users\\me", "LIB=lib dir", "noequals",
                                          "=C:=C:\\cwd"};
    struct Row {
        const char* text;
        const char* result;
    } rows[] = {
        {"%VEXAL_EXEDIR%lib", "c:\\app\\lib"},
        {"%KORVALITH_EXEDIR%", "c:\\app\\"},
        {"${VEXAL_EXEDIR}lib\\app.jar", "c:\\app\\lib\\app.jar"},
        {"${KORVALITH_EXEDIR}", "c:\\app\\"},
        {"%VEXAL_EXEDIR%\\lib", "c:\\app\\\\lib"},  // doubled: path resolution collapses it
        {"%VEXAL_TEMPDIR%|${KORVALITH_TEMPDIR}", "c:\\tmp\\x1|c:\\tmp\\x1"},
        {"a%VEXAL_PATHLIST_SEPARATOR%b${KORVALITH_PATHLIST_SEPARATOR}c", "a;b;c"},
        {"%KORVALITH_PATHLIST_SEPARATOR%${VEXAL_PATHLIST_SEPARATOR}", ";;"},
        {"%vexal_exedir%", "%vexal_exedir%"},  // launcher variables are case-sensitive
        {"${Path}", "c:\\bin"},
        {"${PATH}", "c:\\bin"},
        {"${path}", "${path}"},
        {"%Path%", "%Path%"},                // no percent form for the environment
        {"%USERPROFILE%", "%USERPROFILE%"},
        {"${USERPROFILE}\\x", "c:\\users\\me\\x"},
        {"${MISSING}", "${MISSING}"},
        {"${noequals}", "${noequals}"},
        {"-Dp=\"${LIB}\"", "-Dp=\"lib dir\""},
        {"${}", "C:=C:\\cwd"},  // an entry whose name is empty
        {"${Path}${Path}", "c:\\binc:\\bin"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(substitute(row.text, env), row.result);
    }
}

TEST(VariableSubstitution, OrderDecidesWhatAnInsertedValueExpandsTo) {
    // A value that refers to a variable later in the block is expanded; one
    // that refers to an earlier variable stays.
    EXPECT_EQ(substitute("${A}", {"A=${B}", "B=bee"}), "bee");
    EXPECT_EQ(substitute("${B}", {"A=ay", "B=${A}"}), "${A}");
    // Launcher variables come first, so an environment value holding one stays.
    EXPECT_EQ(substitute("${HOME}", {"HOME=%VEXAL_EXEDIR%"}), "%VEXAL_EXEDIR%");
    // The upper-cased pattern runs after the exact one, over the result.
    EXPECT_EQ(substitute("${Ab}", {"Ab=x${AB}"}), "xx${AB}");
}

TEST(VariableSubstitution, AnInsertedReplacementIsNotSearchedAgainForItsPattern) {
    struct Row {
        const char* text;
        const char* pattern;
        const char* replacement;
        const char* result;
    } rows[] = {
        {"${X}", "${X}", "<${X}>", "<${X}>"},
        {"${X}${X}", "${X}", "${X}${X}", "${X}${X}${X}${X}"},
        {"aaa", "a", "aa", "aaaaaa"},
        {"abc", "b", "", "ac"},
        {"abc", "", "z", "abc"},
        {"none", "x", "y", "none"},
    };
    for (const Row& row : rows) {
        std::string text = row.text;
        replaceAll(text, row.pattern, row.replacement);
        EXPECT_EQ(text, row.result) << row.text;
    }
}

TEST(VariableSubstitution, ResultIsKeptWithinItsBuffer) {
    std::string text = "${BIG}${BIG}tail";
    substituteVariablesWith(text, {}, {"BIG=" + std::string(5000, 'v')});
    EXPECT_EQ(text, std::string(kSubstitutedTextLimit, 'v'));

    // An over-long environment entry is read as its buffer holds it.
    text = "${LONG}";
    substituteVariablesWith(text, {}, {"LONG=" + std::string(9000, 'w')});
    EXPECT_EQ(text.size(), kSubstitutedTextLimit - 5);
}

TEST(VariableSubstitution, PathListSeparatorOfTheLinuxLauncher) {
    const LauncherVariables linux{"/opt/app/", "/tmp/vexal-x1", ":"};
    const struct {
        const char* text;
        const char* result;
    } rows[] = {
        {"a%VEXAL_PATHLIST_SEPARATOR%b${KORVALITH_PATHLIST_SEPARATOR}c", "a:b:c"},
        {"${VEXAL_EXEDIR}lib/app.jar%VEXAL_PATHLIST_SEPARATOR%${VEXAL_TEMPDIR}/x.jar",
         "/opt/app/lib/app.jar:/tmp/vexal-x1/x.jar"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        std::string text = row.text;
        substituteVariablesWith(text, linux, {});
        EXPECT_EQ(text, row.result);
    }
}
