#include <gtest/gtest.h>

#include <map>
#include <set>

#include "config/ConfigIds.h"
#include "files/PathLogic.h"
#include "windows/JavaVMLauncher/ClassPathLogic.h"
#include "windows/JavaVMLauncher/VariableSubstitution.h"

using namespace vexal;

namespace {

const std::string kExeDir = "c:\\app\\";
const std::string kTemp = "c:\\tmp\\e1";

// A small file system and environment behind the class-path services.
struct FakePlatform {
    std::set<std::string> existing{kExeDir + ".", kExeDir + ".\\.", kExeDir + "lib", kExeDir + "empty"};
    std::map<std::string, std::vector<std::string>> listings;  // pattern -> names
    std::map<std::string, std::string> environment;

    ClassPathServices services() {
        ClassPathServices s;
        s.resolveAgainstExeDir = [](const std::string& path) {
            const std::string joined = joinToExeDir(kExeDir, path);
            const std::u16string collapsed = collapseBackslashes(std::u16string(joined.begin(), joined.end()));
            return std::string(collapsed.begin(), collapsed.end());
        };
        s.absolutePath = [](const std::string& path) {
            return path == "." ? "c:\\app" : path == "c:\\root\\" ? "c:\\root\\" : path;
        };
        s.pathExists = [this](const std::string& path) { return existing.count(path) != 0; };
        s.listArchives = [this](const std::string& dir, const std::string& ext) {
            auto it = listings.find(archivePattern(dir, ext));
            return it == listings.end() ? std::vector<std::string>{} : it->second;
        };
        s.environmentValue = [this](const std::string& name, std::string& value) {
            auto it = environment.find(name);
            value = it == environment.end() ? "" : it->second;
            return it != environment.end();
        };
        s.substituteVariables = [this](std::string& text) {
            std::vector<std::string> block;
            for (const auto& [name, value] : environment) block.push_back(name + "=" + value);
            substituteVariablesWith(text, {kExeDir, kTemp}, block);
        };
        return s;
    }
};

struct Outcome {
    std::string classPath;
    std::int32_t messageId = 0;
    std::string value;
};

Outcome assemble(FakePlatform& platform, const ClassPathConfig& config) {
    ClassPathAssembler assembler(platform.services());
    Outcome outcome;
    outcome.classPath = assembler.build(config);
    outcome.messageId = assembler.failure().messageId;
    outcome.value = assembler.failure().value;
    return outcome;
}

ClassPathConfig items(const std::string& list, char kind = 'v') {
    ClassPathConfig config;
    config.launcherKind = kind;
    config.installRoot = ".";
    config.items = list;
    return config;
}

const std::string P = "-Djava.class.path=";

const std::string LP = "-Djava.class.path=";

}  // namespace

TEST(ClassPathLogic, OptionTexts) {
    struct Row {
        const char* name;
        ClassPathConfig config;
        std::map<std::string, std::string> environment;
        std::string classPath;
        std::int32_t messageId;
        std::string value;
    } rows[] = {
        {"nothing at all", items(""), {}, P, 0, ""},
        {"sample configuration, kind k", items("D1.\\.", 'k'), {},
         P + "c:\\app\\.korvalith\\kvlruntime.jar;" + "c:\\app\\.\\.", 0, ""},
        {"kind v has no runtime archive", items("D1.\\."), {}, P + "c:\\app\\.\\.", 0, ""},
        {"root ending in a backslash gets none added", [] { auto c = items("", 'k'); c.installRoot = "c:\\root\\"; return c; }(),
         {}, P + "c:\\root\\.korvalith\\kvlruntime.jar", 0, ""},
        {"empty separators skipped", items(";;D0.\\.;;"), {}, P + "c:\\app\\.\\.", 0, ""},
        {"scan of an empty directory", items("S1empty"), {}, P, 0, ""},
        {"scan of a missing directory", items("S1nolib"), {}, P, msg::ClassPathMissing, "nolib"},
        {"optional scan of a missing directory", items("S0nolib"), {}, P, 0, ""},
        {"optional missing archive is added", items("A0missing.jar"), {}, P + "c:\\app\\missing.jar", 0, ""},
        {"required missing archive", items("A1missing.jar"), {}, P + "c:\\app\\missing.jar", msg::ClassPathMissing,
         "missing.jar"},
        {"required missing directory names the substituted text", items("D1${VEXAL_EXEDIR}gone"), {},
         P + "c:\\app\\gone", msg::ClassPathMissing, "c:\\app\\gone"},
        {"quoted variable", items("E0JAVA_LIBS"), {{"JAVA_LIBS", "\"c:\\libs\\a.jar\""}},
         P + "c:\\libs\\a.jar", 0, ""},
        {"value ending in a separator", items("E0JAVA_LIBS"), {{"JAVA_LIBS", "c:\\a.jar;c:\\b.jar;"}},
         P + "c:\\a.jar;c:\\b.jar", 0, ""},
        {"a lone quote is kept", items("E0Q"), {{"Q", "\""}}, P + "\"", 0, ""},
        {"optional variable not set", items("E0JAVA_LIBS;D0lib"), {}, P + "c:\\app\\lib", 0, ""},
        {"required variable not set", items("E1JAVA_LIBS;D0lib"), {}, P, msg::EnvVarUndefined, "JAVA_LIBS"},
        {"required variable set but empty", items("E1EMPTY"), {{"EMPTY", ""}}, P, msg::ClassPathMissing, "EMPTY"},
        {"exe directory variable", items("A0${VEXAL_EXEDIR}lib\\app.jar"), {}, P + "c:\\app\\lib\\app.jar", 0, ""},
        {"percent form doubles a backslash, resolution collapses it", items("D0%VEXAL_EXEDIR%\\lib"), {},
         P + "c:\\app\\lib", 0, ""},
        {"lower-case type letter adds nothing", items("d1lib"), {}, P, msg::ClassPathMissing, "lib"},
        {"lower-case optional type letter", items("d0lib"), {}, P, 0, ""},
        {"item of one character is optional", items("D"), {}, P + "c:\\app\\", 0, ""},
        {"absolute and network paths stay", items("A0d:\\x\\\\y.jar;A0\\\\srv\\\\s.jar"), {},
         P + "d:\\x\\y.jar;\\\\srv\\s.jar", 0, ""},
        {"first failure stops the walk", items("A1gone.jar;A0more.jar"), {}, P + "c:\\app\\gone.jar",
         msg::ClassPathMissing, "gone.jar"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakePlatform platform;
        platform.environment = row.environment;
        const Outcome outcome = assemble(platform, row.config);
        EXPECT_EQ(outcome.classPath, row.classPath);
        EXPECT_EQ(outcome.messageId, row.messageId);
        EXPECT_EQ(outcome.value, row.value);
    }
}

TEST(ClassPathLogic, ArchivesJarsBeforeZipsInListingOrder) {
    FakePlatform platform;
    platform.existing.insert(kTemp);
    platform.listings[kTemp + "\\*.jar"] = {"b.jar", "a.jar"};
    platform.listings[kTemp + "\\*.zip"] = {"a.zip"};
    platform.listings[kExeDir + "lib\\*.jar"] = {"x.jar"};
    platform.listings[kExeDir + "lib\\*.zip"] = {"y.zip"};
    ClassPathConfig config = items("S1lib", 'k');
    config.extractionDir = kTemp;
    EXPECT_EQ(assemble(platform, config).classPath,
              P + kTemp + "\\b.jar;" + kTemp + "\\a.jar;" + kTemp + "\\a.zip;" +
                  "c:\\app\\.korvalith\\kvlruntime.jar;" + "c:\\app\\lib\\x.jar;c:\\app\\lib\\y.zip");
}

TEST(ClassPathLogic, AppendArchivesReportsWhetherTheDirectoryExists) {
    FakePlatform platform;
    platform.listings["c:\\app\\lib\\*.jar"] = {"one.jar"};
    ClassPathAssembler assembler(platform.services());
    std::string classPath = "x;";
    EXPECT_TRUE(assembler.appendArchives(classPath, "c:\\app\\lib", ".jar"));
    EXPECT_TRUE(assembler.appendArchives(classPath, "c:\\app\\empty", "jar"));
    EXPECT_FALSE(assembler.appendArchives(classPath, "c:\\app\\none", "jar"));
    EXPECT_FALSE(assembler.appendArchives(classPath, "", "jar"));
    EXPECT_EQ(classPath, "x;c:\\app\\lib\\one.jar;");
}

// Java reads an empty element as the working directory: none is left in the
// option, wherever it came from.
TEST(ClassPathLogic, FinishedOptionHasNoEmptyElements) {
    struct Row {
        const char* assembled;
        const char* finished;
        PathStyle style;
    } rows[] = {
        {"-Djava.class.path=;", "-Djava.class.path=", kWindowsPathStyle},
        {"-Djava.class.path=;a.jar;", "-Djava.class.path=a.jar", kWindowsPathStyle},
        {"-Djava.class.path=;a.jar;;b.jar;;;", "-Djava.class.path=a.jar;b.jar", kWindowsPathStyle},
        {"-Djava.class.path=:/a.jar::/b:", "-Djava.class.path=/a.jar:/b", kLinuxPathStyle},
        {"-Djava.class.path=:c;d:", "-Djava.class.path=c;d", kLinuxPathStyle},
        {"-Dother=;x;", "-Dother=;x;", kWindowsPathStyle},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.assembled);
        EXPECT_EQ(finishedClassPath(row.assembled, row.style), row.finished);
    }
    // An inner empty element of a variable's value goes too.
    FakePlatform platform;
    platform.environment = {{"CP", "c:\\a.jar;;c:\\b.jar"}};
    ClassPathAssembler assembler(platform.services());
    EXPECT_EQ(assembler.build(items("E0CP")), P + "c:\\a.jar;c:\\b.jar");
}

TEST(ClassPathLogic, PatternHasOneDot) {
    EXPECT_EQ(archivePattern("d", "jar"), "d\\*.jar");
    EXPECT_EQ(archivePattern("d", ".zip"), "d\\*.zip");
}

TEST(ClassPathLogic, EntriesThatDoNotFitAreLeftOutWhole) {
    FakePlatform platform;
    const std::string big(5000, 'b');
    platform.environment = {{"ONE", "c:\\" + big}, {"TWO", "d:\\" + big}, {"SMALL", "e:\\s.jar"}};
    ClassPathAssembler assembler(platform.services());
    const std::string classPath = assembler.build(items("E1ONE;E1TWO;E1SMALL"));
    EXPECT_EQ(classPath, P + "c:\\" + big + ";e:\\s.jar");
    EXPECT_LE(classPath.size(), kClassPathLimit);
    ASSERT_EQ(assembler.dropped().size(), 1u);
    EXPECT_EQ(assembler.dropped()[0], "d:\\" + big + ";");
    EXPECT_FALSE(assembler.failed());
}

namespace {

// The same services on a Linux file system: "/" joins, ":" separates.
struct FakeLinuxPlatform {
    std::set<std::string> existing{"/opt/app/lib", "/tmp/e1"};
    std::map<std::string, std::vector<std::string>> listings;  // directory|extension -> names
    std::map<std::string, std::string> environment;

    ClassPathServices services() {
        ClassPathServices s;
        s.style = kLinuxPathStyle;
        s.resolveAgainstExeDir = [](const std::string& path) {
            return !path.empty() && path[0] == '/' ? path : "/opt/app/" + path;
        };
        s.absolutePath = [](const std::string& path) { return path == "." ? std::string("/opt/app") : path; };
        s.pathExists = [this](const std::string& path) { return existing.count(path) != 0; };
        s.listArchives = [this](const std::string& dir, const std::string& ext) {
            auto it = listings.find(dir + "|" + ext);
            return it == listings.end() ? std::vector<std::string>{} : it->second;
        };
        s.environmentValue = [this](const std::string& name, std::string& value) {
            auto it = environment.find(name);
            value = it == environment.end() ? "" : it->second;
            return it != environment.end();
        };
        s.substituteVariables = [this](std::string& text) {
            std::vector<std::string> block;
            for (const auto& [name, value] : environment) block.push_back(name + "=" + value);
            substituteVariablesWith(text, {"/opt/app/", "/tmp/e1", ":"}, block);
        };
        return s;
    }
};

}  // namespace

TEST(ClassPathLogic, LinuxSeparators) {
    struct Row {
        const char* name;
        ClassPathConfig config;
        std::map<std::string, std::string> environment;
        std::string classPath;
    } rows[] = {
        {"nothing at all", items(""), {}, LP},
        {"directory and archive items", items("D1lib;A0/abs/app.jar"), {}, LP + "/opt/app/lib:/abs/app.jar"},
        {"kind k adds the runtime archive with slashes", items("", 'k'), {}, LP + "/opt/app/.korvalith/kvlruntime.jar"},
        {"scanned directory", items("S1lib"), {}, LP + "/opt/app/lib/x.jar:/opt/app/lib/y.zip"},
        {"variable holding a list", items("E0CP"), {{"CP", "/a.jar:/b.jar"}}, LP + "/a.jar:/b.jar"},
        {"variable already ending in the separator", items("E0CP"), {{"CP", "/a.jar:"}}, LP + "/a.jar"},
        {"a semicolon is no separator on Linux", items("E0CP"), {{"CP", "/a.jar;"}}, LP + "/a.jar;"},
        {"path-list variable in an item gives a colon", items("A0/a${VEXAL_PATHLIST_SEPARATOR}/b"), {},
         LP + "/a:/b"},
        {"extraction directory archives first",
         [] {
             auto c = items("A0app.jar");
             c.extractionDir = "/tmp/e1";
             return c;
         }(),
         {}, LP + "/tmp/e1/vexal-runtime.jar:/opt/app/app.jar"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeLinuxPlatform platform;
        platform.listings["/opt/app/lib|jar"] = {"x.jar"};
        platform.listings["/opt/app/lib|zip"] = {"y.zip"};
        platform.listings["/tmp/e1|jar"] = {"vexal-runtime.jar"};
        platform.environment = row.environment;
        ClassPathAssembler assembler(platform.services());
        EXPECT_EQ(assembler.build(row.config), row.classPath);
        EXPECT_FALSE(assembler.failed());
    }
}

TEST(ClassPathLogic, ArchiveExtensionOfAListedName) {
    const struct {
        const char* name;
        const char* extension;
        bool matches;
    } rows[] = {
        {"app.jar", "jar", true},  {"app.jar", ".jar", true},  {"app.JAR", "jar", false}, {"app.jar.bak", "jar", false},
        {"appjar", "jar", false},  {".jar", "jar", false},     {"a.zip", "zip", true},    {"a.zip", "jar", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(hasArchiveExtension(row.name, row.extension), row.matches);
    }
}
