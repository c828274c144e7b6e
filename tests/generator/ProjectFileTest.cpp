#include <gtest/gtest.h>

#include "FakeStub.h"
#include "generator/KeyTable.h"
#include "generator/ProjectFile.h"

using namespace vexal;
using namespace vexal::gen;
using vexal::testing::TempDir;

namespace {

const std::string kMinimal = "[application]\nmain-class = \"com.example.hello.Hello\"\n";

// The error text for a project, or "" when it reads without error.
std::string errorOf(const std::string& text, const std::vector<std::string>& overrides = {}) {
    try {
        parseProject(text, "app.toml", overrides);
    } catch (const ProjectError& error) {
        return error.what();
    }
    return "";
}

struct ErrorCase {
    const char* name;
    std::string text;
    std::vector<std::string> expected;  // substrings of the message
    std::vector<std::string> overrides = {};
};

}  // namespace

TEST(ProjectFile, ErrorsNameTheFileTheKeyAndTheReason) {
    const std::vector<ErrorCase> cases = {
        {"malformed", "[application\nmain-class = 1", {"app.toml:1:", "malformed TOML"}},
        {"unknown key with suggestion", kMinimal + "main_class = \"x\"\n",
         {"app.toml:3: application.main_class: unknown key", "did you mean \"application.main-class\""}},
        {"unknown section", kMinimal + "[jvm]\nmin = \"1.8\"\n", {"app.toml:4: jvm.min: unknown key"}},
        {"string for integer", kMinimal + "[splash]\nwidth = \"400\"\n",
         {"app.toml:4: splash.width: expected an integer, found a string"}},
        {"integer for flag", kMinimal + "[splash]\nshow = 1\n", {"splash.show: expected true or false, found an integer"}},
        {"float for version text", kMinimal + "[java]\nmin-version = 1.8\n",
         {"java.min-version: expected a string, found a floating-point number"}},
        {"number beyond 32 bits", kMinimal + "[splash]\nwidth = 4294967296\n", {"splash.width", "does not fit in 32 bits"}},
        {"colour component out of range", kMinimal + "[splash.status]\ncolor = [0, 256, 0]\n",
         {"splash.status.color", "0 to 255"}},
        {"colour with two components", "splash.status.color = [1, 2]\n" + kMinimal,
         {"app.toml:1: splash.status.color: expected an array of three integers"}},
        {"missing main class", "[java]\nmin-version = \"1.8\"\n", {"app.toml: application.main-class: missing"}},
        {"empty main class", "[application]\nmain-class = \"\"\n", {"application.main-class: the main class must not be empty"}},
        {"unknown arch", "arch = \"arm64\"\n" + kMinimal, {"app.toml:1: arch: expected \"x64\", \"x86\" or \"linux-x64\""}},
        {"unknown executable type", kMinimal + "type = \"tui\"\n", {"application.type: unknown executable type \"tui\""}},
        {"launcher kind letter", kMinimal + "launcher-kind = \"x\"\n", {"application.launcher-kind: expected \"v\" or \"k\""}},
        {"face name too long", "splash.status.font = \"" + std::string(32, 'F') + "\"\n" + kMinimal,
         {"app.toml:1: splash.status.font: the value is 32 bytes long; the launcher reads at most 31"}},
        {"character outside the code page", kMinimal + "name = \"\xE5\x90\x8D\"\n", {"application.name", "Windows-1252"}},
        {"list item with separator", kMinimal + "class-path = [\"A1a.jar;b.jar\"]\n", {"application.class-path", "item 1"}},
        {"list item of another type", kMinimal + "class-path = [\"A1a.jar\", 2]\n",
         {"application.class-path: item 2: expected a string, found an integer"}},
        {"raw id not a number", kMinimal + "[entries]\nabc = \"x\"\n", {"entries.abc", "not a 32-bit decimal id"}},
        {"raw id beyond 32 bits", kMinimal + "[entries]\n3000000000 = \"x\"\n", {"entries.3000000000"}},
        {"raw id set twice", kMinimal + "[entries]\n122 = \"Other\"\n", {"entries.122: id 122 is already set by application.main-class"}},
        {"raw included-file ids", kMinimal + "[entries]\n2002 = 1\n", {"entries.2002", "\"include\""}},
        {"raw included-files digest", kMinimal + "[entries]\n2004 = \"x\"\n", {"entries.2004", "\"include\""}},
        {"class-data sharing not a choice", kMinimal + "[java]\nclass-data-sharing = \"on\"\n",
         {"app.toml:4: java.class-data-sharing: expected \"auto\" or \"off\", found \"on\""}},
        {"class-data sharing a flag", kMinimal + "[java]\nclass-data-sharing = true\n",
         {"java.class-data-sharing: expected a string, found a boolean"}},
        {"raw table value", kMinimal + "[entries]\n5 = [1]\n", {"entries.5", "expected a string, an integer or a boolean"}},
        {"wide value not a string", kMinimal + "[wide-entries]\n5 = 1\n", {"wide-entries.5: expected a string"}},
        {"output of wrong type", "output = 3\n" + kMinimal, {"output: expected a string, found an integer"}},
        {"override with wrong type", kMinimal, {"--set", "splash.width: expected an integer"}, {"splash.width = \"wide\""}},
        {"java's class-path option", kMinimal + "[java]\nvm-options = [\"-cp\", \"lib/*\"]\n",
         {"app.toml:4: java.vm-options: \"-cp lib/*\" is an option of the java command", "application.class-path"}},
        {"java's jar option", kMinimal + "[java]\nvm-options = [\"-Xmx1g\", \"-jar\", \"app.jar\"]\n",
         {"java.vm-options: \"-jar app.jar\"", "application.main-class"}},
        {"an argument file", kMinimal + "[java]\nvm-options = [\"@jvm.args\"]\n", {"\"@jvm.args\"", ".vmoptions"}},
    };
    for (const auto& c : cases) {
        std::string message = errorOf(c.text, c.overrides);
        EXPECT_FALSE(message.empty()) << c.name;
        for (const auto& part : c.expected) {
            EXPECT_NE(message.find(part), std::string::npos) << c.name << ": \"" << part << "\" not in: " << message;
        }
    }
}

// Characters next to the parser's whitespace tests, from each range that the
// TOML library once treated as unreachable (U+00A1..U+0499, U+2C4E..U+3047,
// U+FA36..U+FEFE): a stray one is malformed TOML, one in a string or a
// comment is text; the sanitized build fails on the old behaviour.
TEST(ProjectFile, NonAsciiCharactersWhereWhitespaceMayStandAreReadSafely) {
    const std::vector<std::string> strays = {"\u00a1", "\u0499", "\u3001", "\ufa36", "\ufefe"};
    for (const std::string& c : strays) {
        for (const std::string& text : {kMinimal + "name = \"x\" " + c + "\n", kMinimal + "name = \"x\"" + c,
                                        c + kMinimal, "[application]" + c + "\n"}) {
            EXPECT_NE(errorOf(text).find("malformed TOML"), std::string::npos) << text;
        }
        EXPECT_EQ(errorOf(kMinimal + "[version]\ncompany = \"" + c + "\" # " + c + "\n"), "") << c;
    }
}

TEST(ProjectFile, MissingFileAndDirectoryAreReported) {
    TempDir dir;
    for (const auto& path : {dir / "absent.toml", dir.path()}) {
        try {
            readProject(path);
            ADD_FAILURE() << path << " read without error";
        } catch (const ProjectError& error) {
            EXPECT_NE(std::string(error.what()).find(path.string() + ": cannot read the project file"), std::string::npos)
                << error.what();
        }
    }
}

TEST(ProjectFile, EveryKeyWithADefaultIsFilledForAMinimalProject) {
    Project project = parseProject(kMinimal, "app.toml");
    for (const auto& key : keyTable()) {
        if (!key.defaultValue) continue;
        EXPECT_TRUE(project.store.hasNarrow(key.id)) << key.name;
        EXPECT_EQ(project.store.narrow(key.id), key.defaultValue) << key.name;
    }
    EXPECT_EQ(project.store.narrow(122), "com.example.hello.Hello");
    EXPECT_EQ(project.store.narrow(101), "Hello");
    EXPECT_EQ(project.store.narrow(2001), "v");
    EXPECT_EQ(project.store.narrow(107), "1");
    EXPECT_EQ(project.store.narrow(123), "\"-Xmx256m\"");
    EXPECT_EQ(project.store.narrow(2002), "0");
    EXPECT_TRUE(project.store.hasNarrow(2003));
    EXPECT_EQ(project.store.narrow(154), "off");
    EXPECT_TRUE(project.store.wideEntries().empty());
    EXPECT_EQ(project.arch, "x64");
    EXPECT_TRUE(project.guiStub());
    for (std::int32_t id = 1000; id <= 1011; ++id) EXPECT_FALSE(project.store.narrow(id).empty()) << id;
    const std::string noJvm = project.store.narrow(1001);
    EXPECT_EQ(std::count(noJvm.begin(), noJvm.end(), '\n'), 2);
    EXPECT_NE(noJvm.find("VEXAL_JAVA_HOME"), std::string::npos);
    EXPECT_EQ(project.store.narrow(1009), "An internal error occurred (error code: %ERROR_CODE%)");
}

// JAVA_HOME before the registry; a console program keeps its caller's folder.
TEST(ProjectFile, DefaultsOfTheSearchAndTheWorkingDirectory) {
    struct Case {
        const char* name;
        std::string text;
        const char* workingDirectory;
    };
    const std::vector<Case> cases = {
        {"gui by default", kMinimal, "."},
        {"gui", kMinimal + "type = \"gui\"\n", "."},
        {"console", kMinimal + "type = \"console\"\n", ""},
        {"console through its entry", kMinimal + "[entries]\n107 = \"2\"\n", ""},
        {"console with its folder set", kMinimal + "type = \"console\"\nworking-directory = \".\"\n", "."},
        {"gui with its folder emptied", kMinimal + "working-directory = \"\"\n", ""},
    };
    for (const Case& c : cases) {
        const Project project = parseProject(c.text, "app.toml");
        ASSERT_TRUE(project.store.hasNarrow(146)) << c.name;
        EXPECT_EQ(project.store.narrow(146), c.workingDirectory) << c.name;
        EXPECT_EQ(project.store.narrow(128), "B.\\jre;EJAVA_HOME;EJDK_HOME;Y;S;") << c.name;
    }
}

TEST(ProjectFile, ValuesBecomeEntryTextsOfTheirKind) {
    const std::string text = R"(
arch = "x86"
[application]
main-class = "Main"
name = "Caf)" "\xC3\xA9" R"( €"
type = "console"
class-path = ['A1hello.jar', 'S0lib']
arguments = ["--mode", "two words", ""]
single-instance = true
[java]
search-sequence = 'B.\jre;Y;'
vm-options = ["-Xmx64m", "-Dgreeting=hello world", "--add-opens", "java.base/java.lang=ALL-UNNAMED"]
[splash.status]
color = [255, 0, 16]
[splash]
width = -1
version.text = "v2"
[messages]
caption = "Oops"
no-jvm = """
First line
Second line"""
)";
    Project project = parseProject(text, "app.toml");
    const ConfigStore& s = project.store;
    EXPECT_EQ(project.arch, "x86");
    EXPECT_FALSE(project.guiStub());
    EXPECT_EQ(s.narrow(101), "Caf\xE9 \x80");
    EXPECT_EQ(s.narrow(107), "2");
    EXPECT_EQ(s.narrow(121), "A1hello.jar;S0lib;");
    EXPECT_EQ(s.narrow(124), "--mode \"two words\" \"\"");
    EXPECT_EQ(s.narrow(10005), "1");
    EXPECT_EQ(s.narrow(128), "B.\\jre;Y;");
    // java's two-item form joined into the one the JVM takes.
    EXPECT_EQ(s.narrow(123), "-Xmx64m \"-Dgreeting=hello world\" --add-opens=java.base/java.lang=ALL-UNNAMED");
    EXPECT_EQ(s.narrow(10114), "255,0,16");
    EXPECT_EQ(s.narrow(141), "-1");
    EXPECT_EQ(s.narrow(10118), "v2");
    EXPECT_EQ(s.narrow(1000), "Oops");
    EXPECT_EQ(s.narrow(1001), "First line\r\nSecond line");
}

TEST(ProjectFile, RawEntriesTakeAnyIdNarrowAndWide) {
    const std::string text = kMinimal + R"(
[entries]
1012 = "Caption"
-5 = 42
150 = true
[wide-entries]
1 = "Gr)" "\xC3\xBC\xC3\x9F" R"(e"
122 = "wide ids are apart"
)";
    Project project = parseProject(text, "app.toml");
    EXPECT_EQ(project.store.narrow(1012), "Caption");
    EXPECT_EQ(project.store.narrow(-5), "42");
    EXPECT_EQ(project.store.narrow(150), "1");
    EXPECT_EQ(project.store.wide(1), u"Gr\u00FC\u00DFe");
    EXPECT_EQ(project.store.wide(122), u"wide ids are apart");
    EXPECT_EQ(project.store.narrow(122), "com.example.hello.Hello");
}

TEST(ProjectFile, SectionsAndDottedKeysAreTheSame) {
    Project a = parseProject(kMinimal + "[splash.status]\nx = 5\n", "a.toml");
    Project b = parseProject("splash.status.x = 5\n" + kMinimal, "b.toml");
    Project c = parseProject(kMinimal + "[splash]\nstatus = { x = 5 }\n", "c.toml");
    EXPECT_EQ(a.store.narrowEntries(), b.store.narrowEntries());
    EXPECT_EQ(a.store.narrowEntries(), c.store.narrowEntries());
    EXPECT_EQ(a.store.narrow(10109), "5");
}

TEST(ProjectFile, OverridesReplaceAndAddKeys) {
    Project project = parseProject(kMinimal + "type = \"console\"\n", "app.toml",
                                   {"application.type = \"gui\"", "application.name=My App", "splash.width = 10"});
    EXPECT_EQ(project.store.narrow(107), "1");
    EXPECT_EQ(project.store.narrow(101), "My App");
    EXPECT_EQ(project.store.narrow(141), "10");
}

TEST(ProjectFile, PathsAreRelativeToTheProjectFile) {
    TempDir dir;
    vexal::testing::writeFile(dir / "lib/a.jar", "A");
    vexal::testing::writeFile(dir / "b.dll", "B");
    vexal::testing::writeFile(dir / "app.toml",
                              "output = \"out/app.exe\"\ninclude = [\"lib/a.jar\", \"b.dll\"]\n" + kMinimal);
    Project project = readProject(dir / "app.toml");
    EXPECT_EQ(project.output, dir / "out/app.exe");
    ASSERT_EQ(project.includes.size(), 2u);
    EXPECT_EQ(project.includes[0].path, dir / "lib/a.jar");
    EXPECT_EQ(project.store.narrow(2002), "2");
    EXPECT_EQ(project.store.narrow(2003), "a.jar;b.dll");
}

// Each refused include names the project file, the key, the item and the
// file, and says why.
TEST(ProjectFile, IncludedFilesAreRefusedWithTheFileNamed) {
    struct Case {
        const char* name;
        std::vector<std::string> files;  // created under the project directory
        std::string include;             // the array's items, as TOML
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"list separator", {"a;b.jar"}, R"("a;b.jar")", {"item 1 \"a;b.jar\"", "holds \";\""}},
        {"backslash", {"dir\\evil.jar"}, R"("dir\\evil.jar")", {"item 1 \"dir\\evil.jar\"", "path separator"}},
        {"drive", {"c:evil.jar"}, R"("c:evil.jar")", {"item 1 \"c:evil.jar\"", "holds \":\""}},
        {"parent directory", {"sub/x"}, R"("sub/..")", {"item 1 \"sub/..\"", "\"..\""}},
        {"two dots inside", {"a..b.jar"}, R"("a..b.jar")", {"item 1 \"a..b.jar\"", "\"..\""}},
        {"device name", {"nul.txt"}, R"("nul.txt")", {"item 1 \"nul.txt\"", "device"}},
        {"outside the code page", {"\xE5\x90\x8D.txt"}, "\"\xE5\x90\x8D.txt\"", {"item 1", "Windows-1252"}},
        {"missing file", {}, R"("nowhere.jar")", {"item 1 \"nowhere.jar\"", "no such file", "nowhere.jar"}},
        {"directory", {"lib/a.jar"}, R"("lib")", {"item 1 \"lib\"", "not a regular file"}},
        {"dangling link", {}, R"("link.jar")", {"item 1 \"link.jar\"", "no such file"}},
        {"same name", {"one/a.jar", "two/a.jar"}, R"("one/a.jar", "two/a.jar")",
         {"item 2 \"two/a.jar\"", "same name as \"one/a.jar\""}},
        {"same name in another case", {"one/App.jar", "two/app.JAR"}, R"("one/App.jar", "two/app.JAR")",
         {"item 2 \"two/app.JAR\"", "same name as \"one/App.jar\""}},
        {"same accented name in another case", {"one/\xC3\x89t\xC3\xA9.txt", "\xC3\xA9t\xC3\x89.txt"},
         "\"one/\xC3\x89t\xC3\xA9.txt\", \"\xC3\xA9t\xC3\x89.txt\"", {"item 2", "same name as"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const auto& file : c.files) vexal::testing::writeFile(dir / file, "data");
        std::filesystem::create_symlink(dir / "gone.jar", dir / "link.jar");
        const std::filesystem::path projectFile = dir / "app.toml";
        vexal::testing::writeFile(projectFile, "include = [" + c.include + "]\n" + kMinimal);
        std::string message;
        try {
            readProject(projectFile);
        } catch (const ProjectError& error) {
            message = error.what();
        }
        ASSERT_FALSE(message.empty()) << c.name;
        EXPECT_EQ(message.rfind(projectFile.string() + ":1: include: ", 0), 0u) << c.name << ": " << message;
        for (const auto& part : c.expected) {
            EXPECT_NE(message.find(part), std::string::npos) << c.name << ": \"" << part << "\" not in: " << message;
        }
    }
}

TEST(ProjectFile, IncludedNamesAreStoredInTheCodePageAndMayDifferByMoreThanCase) {
    TempDir dir;
    vexal::testing::writeFile(dir / "caf\xC3\xA9.txt", "1");
    vexal::testing::writeFile(dir / "cafe.txt", "2");
    vexal::testing::writeFile(dir / "app.toml", "include = [\"caf\xC3\xA9.txt\", \"cafe.txt\"]\n" + kMinimal);
    Project project = readProject(dir / "app.toml");
    EXPECT_EQ(project.store.narrow(2003), "caf\xE9.txt;cafe.txt");
}

TEST(ProjectFile, IncludedNamesMustFitTheLaunchersBuffer) {
    TempDir dir;
    std::string include;
    for (int i = 0; i < 50; ++i) {
        std::string name = std::string(200, 'n') + std::to_string(i);
        vexal::testing::writeFile(dir / name, "x");
        include += (include.empty() ? "\"" : ", \"") + name + "\"";
    }
    vexal::testing::writeFile(dir / "app.toml", "include = [" + include + "]\n" + kMinimal);
    try {
        readProject(dir / "app.toml");
        ADD_FAILURE() << "no error";
    } catch (const ProjectError& error) {
        EXPECT_NE(std::string(error.what()).find("include: the file names take 10139 bytes"), std::string::npos)
            << error.what();
    }
}

TEST(ProjectFile, TheHelloExampleReads) {
    Project project = readProject(std::filesystem::path(VEXAL_SOURCE_DIR) / "examples/hello/vexal.toml");
    EXPECT_EQ(project.store.narrow(122), "com.example.hello.Hello");
    EXPECT_EQ(project.store.narrow(121), "A1hello.jar;");
    EXPECT_EQ(project.store.narrow(107), "2");
    EXPECT_FALSE(project.guiStub());
}
