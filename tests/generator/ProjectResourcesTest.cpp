// The project keys around the block: resources, manifest, signing; the
// warnings; and how a splash bitmap sets the splash defaults.
#include <gtest/gtest.h>

#include "FakeStub.h"
#include "TestImages.h"
#include "generator/GeneratorOptions.h"
#include "generator/KeyTable.h"
#include "generator/ProjectFile.h"
#include "generator/StarterProject.h"

using namespace vexal;
using namespace vexal::gen;
using vexal::testing::bmpFile;
using vexal::testing::icoFile;
using vexal::testing::TempDir;
using vexal::testing::writeFile;

namespace {

const std::string kMain = "[application]\nmain-class = \"Main\"\n";

class ProjectResources : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(dir / "app.ico", icoFile({{16, 32}, {32, 32}}));
        writeFile(dir / "splash.bmp", bmpFile(64, 40));
        writeFile(dir / "bad.ico", "not an icon at all");
        writeFile(dir / "bad.bmp", "BM but nothing else");
        writeFile(dir / "cert.pem", "certificate");
        writeFile(dir / "key.pem", "key");
    }
    Project read(const std::string& text) { return parseProject(text, dir / "app.toml"); }
    std::string errorOf(const std::string& text) {
        try {
            read(text);
        } catch (const ProjectError& error) {
            return error.what();
        }
        return "";
    }
    TempDir dir;
};

}  // namespace

TEST_F(ProjectResources, ErrorsNameTheFileTheKeyAndTheReason) {
    const std::string file = (dir / "app.toml").string();
    struct Case {
        std::string text;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"splash.bitmap = \"none.bmp\"\n" + kMain, file + ":1: splash.bitmap: cannot read " + (dir / "none.bmp").string()},
        {kMain + "icon = \"bad.ico\"\n",
         file + ":3: application.icon: " + (dir / "bad.ico").string() + ": not an icon file (no icon header)"},
        {"splash.icon = \"splash.bmp\"\n" + kMain, "splash.icon: " + (dir / "splash.bmp").string() + ": not an icon file"},
        {"splash.bitmap = \"bad.bmp\"\n" + kMain, "splash.bitmap: " + (dir / "bad.bmp").string() + ": not a bitmap file"},
        {"splash.bitmap = \"\"\n" + kMain, "splash.bitmap: expected a file path, found an empty string"},
        {"splash.bitmap = 3\n" + kMain, "splash.bitmap: expected a string, found an integer"},
        {"version.file-version = \"1.2.beta\"\n" + kMain,
         ":1: version.file-version: expected one to four numbers from 0 to 65535 separated by dots, found \"1.2.beta\""},
        {"version.product-version = \"70000\"\n" + kMain, "version.product-version: expected one to four numbers"},
        {"version.company = \"a\\u0000b\"\n" + kMain, "version.company: the text holds a zero character"},
        {"version.vendor = \"x\"\n" + kMain, "version.vendor: unknown key"},
        {"manifest.dpi = \"system\"\n" + kMain, "manifest.dpi: unknown key (did you mean \"manifest.dpi-awareness\"?)"},
        {"manifest.dpi-awareness = \"high\"\n" + kMain,
         "manifest.dpi-awareness: expected \"unaware\", \"system\" or \"per-monitor\", found \"high\""},
        {"manifest.require-administrator = \"yes\"\n" + kMain,
         "manifest.require-administrator: expected true or false, found a string"},
        {"signing.pkcs12 = \"none.p12\"\n" + kMain, ":1: signing.pkcs12: no such file: " + (dir / "none.p12").string()},
        {"signing.pkcs12 = \"cert.pem\"\nsigning.key = \"key.pem\"\n" + kMain,
         "signing: give either signing.pkcs12 or signing.certificate with signing.key, not both"},
        {"signing.certificate = \"cert.pem\"\n" + kMain,
         ":1: signing: signing.certificate and signing.key go together; one of them is missing"},
        {kMain + "arguments = \"" + std::string(8192, 'a') + "\"\n",
         ":3: application.arguments: the value is 8192 bytes long; the launcher reads at most 8191"},
        {"splash.version.font = \"" + std::string(32, 'F') + "\"\n" + kMain,
         ":1: splash.version.font: the value is 32 bytes long; the launcher reads at most 31"},
        {kMain + "launcher-kind = \"vk\"\n", ":3: application.launcher-kind: expected \"v\" or \"k\", found \"vk\""},
        {"splash.version.color = [0, 0, -1]\n" + kMain, ":1: splash.version.color: colour components must be integers from 0 to 255"},
        {"splash.version.color = [0, 0.5, 1]\n" + kMain, "splash.version.color: colour components must be integers"},
        {"splash.version.color = \"0,0,0\"\n" + kMain, "splash.version.color: expected an array of three integers"},
        {"splash.version.color = [0, 0, 0, 0]\n" + kMain, "splash.version.color: expected an array of three integers"},
        {"java.search-sequence = [\"EJAVA_HOME;Y\"]\n" + kMain,
         ":1: java.search-sequence: item 1 (\"EJAVA_HOME;Y\") contains \";\", the list separator"},
        {"java.min-version = \"1.8\"\n", file + ": application.main-class: missing; the main class is required"},
        // Version bounds begin with a number and hold the characters of version texts only.
        {"java.min-version = \"abc\"\n" + kMain,
         ":1: java.min-version: \"abc\" is not a Java version: a bound begins with a number, such as \"1.8\""},
        {"java.max-version = \"v17\"\n" + kMain, ":1: java.max-version: \"v17\" is not a Java version"},
        {"java.min-version = \"17 \"\n" + kMain, ":1: java.min-version: \"17 \" is not a Java version"},
        {"java.min-version = \".8\"\n" + kMain, ":1: java.min-version: \".8\" is not a Java version"},
        {"java.max-version = \"17;18\"\n" + kMain, ":1: java.max-version: \"17;18\" is not a Java version"},
        {"signing.tool = \"tools/none\"\n" + kMain, ":1: signing.tool: no such file: " + (dir / "tools/none").string()},
        {"signing.tool = \"\"\n" + kMain, ":1: signing.tool: must not be empty"},
    };
    for (const auto& c : cases) {
        std::string message = errorOf(c.text);
        EXPECT_NE(message.find(c.expected), std::string::npos) << "expected: " << c.expected << "\nfound: " << message;
    }
}

TEST_F(ProjectResources, WarningsForSettingsThatSurpriseUsers) {
    const std::string file = (dir / "app.toml").string();
    struct Case {
        std::string text;
        std::vector<std::string> warnings;
    };
    const auto empty = [&](int line, const std::string& maximum, const std::string& minimum) {
        return file + ":" + std::to_string(line) + ": java.max-version: \"" + maximum +
               "\" is below java.min-version \"" + minimum + "\", so no Java version is accepted";
    };
    const std::vector<Case> cases = {
        {kMain, {}},
        {"java.min-version = \"1.8\"\njava.max-version = \"1.8\"\n" + kMain, {}},
        {"java.min-version = \"1.8\"\njava.max-version = \"\"\n" + kMain, {}},
        // Bounds compare as numbers, so these need no warning.
        {"java.min-version = \"9\"\n" + kMain, {}},
        {"java.min-version = \"11.0\"\njava.max-version = \"17\"\n" + kMain, {}},
        {"java.min-version = \"1.8\"\njava.max-version = \"1.10\"\n" + kMain, {}},
        {"java.min-version = \"17.0.2\"\njava.max-version = \"17\"\n" + kMain, {}},
        {"java.min-version = \"1.8.0_392\"\njava.max-version = \"21-ea\"\n" + kMain, {}},
        {"java.min-version = \"9.0.4+11\"\n" + kMain, {}},
        {"java.min-version = \"1.8\"\njava.max-version = \"1.6\"\n" + kMain, {empty(2, "1.6", "1.8")}},
        {"java.min-version = \"17\"\njava.max-version = \"11.0.2\"\n" + kMain, {empty(2, "11.0.2", "17")}},
        {"java.min-version = \"17.0.5\"\njava.max-version = \"17.0.2\"\n" + kMain, {empty(2, "17.0.2", "17.0.5")}},
        // Against the default minimum, 1.5.
        {"java.max-version = \"1.4\"\n" + kMain, {empty(1, "1.4", "1.5")}},
        {"signing.tool = \"osslsigncode\"\n" + kMain,
         {file + ":1: signing.tool: no signing.pkcs12 or signing.certificate is given, so the executable is not signed"}},
        {"splash.show = true\n" + kMain,
         {file + ":1: splash.show: the splash screen is on but no splash.bitmap is given; it shows a plain grey window"}},
        {"splash.show = true\nsplash.bitmap = \"splash.bmp\"\n" + kMain, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read(c.text).warnings, c.warnings) << c.text;
    }
}

TEST_F(ProjectResources, TheSplashBitmapSetsTheSplashDefaults) {
    Project project = read("splash.bitmap = \"splash.bmp\"\n" + kMain);
    EXPECT_EQ(project.store.narrow(141), "64");
    EXPECT_EQ(project.store.narrow(142), "40");
    EXPECT_EQ(project.store.narrow(108), "1");
    ASSERT_TRUE(project.resources.splashBitmap);
    EXPECT_EQ(project.resources.splashBitmap->width, 64);

    project = read("[splash]\nbitmap = \"splash.bmp\"\nwidth = 500\nshow = false\n" + kMain);
    EXPECT_EQ(project.store.narrow(141), "500");
    EXPECT_EQ(project.store.narrow(142), "40");
    EXPECT_EQ(project.store.narrow(108), "0");

    project = read(kMain);
    EXPECT_EQ(project.store.narrow(141), "400");
    EXPECT_EQ(project.store.narrow(108), "0");
    EXPECT_FALSE(project.resources.splashBitmap);
}

TEST_F(ProjectResources, VersionRecordDefaultsComeFromTheApplication) {
    Project project = read(kMain + "name = \"Demo\"\nicon = \"app.ico\"\n[version]\nfile-version = \"2.1\"\ncompany = \"T\"\n");
    EXPECT_EQ(project.resources.icon.size(), 2u);
    const VersionFields& version = project.resources.version;
    EXPECT_EQ(version.fileVersion, "2.1");
    EXPECT_EQ(version.productVersion, "2.1");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"CompanyName", "T"},        {"FileDescription", "Demo"}, {"FileVersion", "2.1"},
        {"InternalName", "Demo"},    {"LegalCopyright", ""},      {"OriginalFilename", ""},
        {"ProductName", "Demo"},     {"ProductVersion", "2.1"}};
    EXPECT_EQ(version.strings, expected);
}

TEST_F(ProjectResources, SigningOptions) {
    Project project = read("[signing]\ncertificate = \"cert.pem\"\nkey = \"key.pem\"\npassword-env = \"PW\"\n" + kMain);
    EXPECT_TRUE(project.signing.wanted());
    EXPECT_EQ(project.signing.certificate, dir / "cert.pem");
    EXPECT_EQ(project.signing.passwordEnv, "PW");
    EXPECT_FALSE(read(kMain).signing.wanted());
}

TEST(FullExample, ReadsWithoutWarningAndNamesEveryKey) {
    const std::filesystem::path file = std::filesystem::path(VEXAL_SOURCE_DIR) / "examples/full/vexal.toml";
    Project project = readProject(file);
    EXPECT_TRUE(project.warnings.empty());
    const std::string text = vexal::testing::readFile(file);
    auto mentioned = [&](const std::string& key) {
        // The last part of the key, at the start of a (possibly commented) line.
        std::string leaf = key.substr(key.rfind('.') + 1);
        return text.find("\n" + leaf + " = ") != std::string::npos || text.find("\n# " + leaf + " = ") != std::string::npos;
    };
    for (const auto& key : keyTable()) EXPECT_TRUE(mentioned(key.name)) << key.name;
    for (const auto& option : generatorOptions()) EXPECT_TRUE(mentioned(option.name)) << option.name;
}

TEST(StarterProject, ReadsBackAsTheGivenApplication) {
    struct Case {
        StarterOptions options;
        std::string name, type, classPath;
    };
    const std::vector<Case> cases = {
        {{"com.example.Main", "app.jar", "", "gui"}, "Main", "1", "A1app.jar;"},
        {{"Tool", "lib/tool \"x\".jar", "My Tool", "console"}, "My Tool", "2", "A1lib/tool \"x\".jar;"},
        {{"a.b.C", "", "", "gui"}, "C", "1", "D1.\\.;"},
    };
    for (const auto& c : cases) {
        Project project = parseProject(starterProject(c.options), "vexal.toml");
        EXPECT_EQ(project.store.narrow(122), c.options.mainClass);
        EXPECT_EQ(project.store.narrow(101), c.name);
        EXPECT_EQ(project.store.narrow(107), c.type);
        EXPECT_EQ(project.store.narrow(121), c.classPath);
        // The generator's defaults, written out so that the user sees them.
        EXPECT_EQ(project.store.narrow(146), c.type == "2" ? "" : ".");
        EXPECT_EQ(project.store.narrow(128), "B.\\jre;EJAVA_HOME;EJDK_HOME;Y;S;");
        EXPECT_TRUE(project.warnings.empty());
    }
    for (const StarterOptions& bad : std::vector<StarterOptions>{{"", "a.jar", "", "gui"}, {"M", "a;b.jar", "", "gui"},
                                                                   {"M", "a.jar", "", "tui"}}) {
        EXPECT_THROW(starterProject(bad), ProjectError) << bad.mainClass << " " << bad.jar << " " << bad.type;
    }
}

TEST(Targets, SubsystemPicksTheStubAndTheDefaultExecutableType) {
    struct Case {
        std::string lines;
        bool gui;
        std::string type;
    };
    const std::vector<Case> cases = {
        {"", true, "1"},
        {"subsystem = \"console\"\n", false, "2"},
        {"subsystem = \"gui\"\n", true, "1"},
        {"subsystem = \"gui\"\napplication.type = 7\n", true, "7"},
        {"subsystem = \"console\"\napplication.type = \"gui\"\n", false, "1"},
        {"application.type = 5\n", true, "5"},
        {"application.type = 0\n", false, "0"},
    };
    for (const auto& c : cases) {
        Project project = parseProject(c.lines + "application.main-class = \"M\"\n", "app.toml");
        EXPECT_EQ(project.guiStub(), c.gui) << c.lines;
        EXPECT_EQ(project.store.narrow(107), c.type) << c.lines;
        EXPECT_EQ(project.store.narrow(2001), "v");
    }
    // The message is copied while the exception still exists.
    EXPECT_NE(std::string([]() -> std::string {
                  try {
                      parseProject("subsystem = \"tui\"\napplication.main-class = \"M\"\n", "app.toml");
                  } catch (const ProjectError& error) {
                      return error.what();
                  }
                  return "";
              }())
                  .find("app.toml:1: subsystem: expected \"gui\" or \"console\", found \"tui\""),
              std::string::npos);
}
