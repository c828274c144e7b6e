#include <gtest/gtest.h>

#include "FakeStub.h"
#include "config/ConfigBlock.h"
#include "generator/ExeWriter.h"
#include "generator/AppResources.h"
#include "generator/Inspect.h"
#include "TestImages.h"

using namespace vexal;
using namespace vexal::gen;
using vexal::testing::fakeStub;

namespace {

std::string generated(std::uint16_t machine, const std::string& arch, const std::vector<std::string>& files) {
    ConfigStore store;
    store.setNarrow(122, "com.example.Main");
    store.setNarrow(1001, "line one\r\nline two");
    store.setNarrow(4711, "raw");
    store.setNarrow(154, "auto");
    store.setNarrow(2004, std::string(64, 'e'));
    store.setNarrow(2002, std::to_string(files.size()));
    store.setNarrow(2003, files.empty() ? "" : "a.jar;b.dll");
    store.setWide(9, u"wide \u00FC");
    return composeExecutable(fakeStub(machine, 3), "stub", arch, store, files);
}

}  // namespace

TEST(Inspect, ReadsTheBlockThroughTheLocatorOfTheMachine) {
    for (auto [machine, arch] : {std::pair<std::uint16_t, const char*>{0x8664, "x64"}, {0x14C, "x86"}}) {
        Inspection inspection;
        std::string reason;
        ASSERT_TRUE(inspectExecutable(generated(machine, arch, {"abc", ""}), inspection, reason)) << reason;
        EXPECT_EQ(archName(inspection.pe.machine), arch);
        EXPECT_EQ(subsystemName(inspection.pe.subsystem), "console");
        EXPECT_EQ(inspection.store.narrow(122), "com.example.Main");
        EXPECT_EQ(inspection.store.wide(9), u"wide \u00FC");
        ASSERT_EQ(inspection.includes.size(), 2u);
        EXPECT_EQ(inspection.includes[0].name, "a.jar");
        EXPECT_EQ(inspection.includes[0].size, 3);
        EXPECT_EQ(inspection.includes[1].size, 0);
        EXPECT_TRUE(inspection.includes[1].complete);
    }
}

TEST(Inspect, ListingsNameEveryEntry) {
    Inspection inspection;
    std::string reason;
    ASSERT_TRUE(inspectExecutable(generated(0x8664, "x64", {}), inspection, reason));
    const std::string text = inspectionText(inspection, "app.exe");
    for (const char* part : {"x64 (PE32+)", "console", "application.main-class", "122", "\"com.example.Main\"",
                             "entries.4711", "\"line one\\r\\nline two\"", "wide-entries.9", "\"wide \xC3\xBC\"",
                             "Included files:  0", "java.class-data-sharing         154    \"auto\"",
                             "include (digest)"}) {
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    }
    const std::string json = inspectionJson(inspection, "app.exe");
    for (const char* part : {"\"architecture\": \"x64\"", "{\"id\": 122, \"key\": \"application.main-class\", \"value\": "
                             "\"com.example.Main\"}", "\"line one\\r\\nline two\"", "\"wide\": [\n    {\"id\": 9",
                             "\"includedFiles\": []"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    }
}

TEST(Inspect, RefusesFilesThatAreNotGeneratedExecutables) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;
    };
    std::string otherMachine = fakeStub(0xAA64, 3);
    const std::vector<Case> cases = {
        {"empty", "", "not a Windows executable"},
        {"text", std::string(200, 'x'), "not a Windows executable"},
        {"bare stub", fakeStub(0x8664, 3), "Internal Error: readInt"},
        {"other data behind the stub", fakeStub(0x8664, 3) + std::string(64, '\x11'), "Internal Error: magic"},
        {"other machine", otherMachine, "no Vexal stub"},
    };
    for (const auto& c : cases) {
        Inspection inspection;
        std::string reason;
        EXPECT_FALSE(inspectExecutable(c.bytes, inspection, reason)) << c.name;
        EXPECT_NE(reason.find(c.expected), std::string::npos) << c.name << ": " << reason;
    }
}

TEST(Inspect, AnIncludedFileCutShortIsMarked) {
    std::string exe = generated(0x8664, "x64", {"abcdef", "xyz"});
    exe.resize(exe.size() - 5);
    Inspection inspection;
    std::string reason;
    ASSERT_TRUE(inspectExecutable(exe, inspection, reason));
    ASSERT_EQ(inspection.includes.size(), 2u);
    EXPECT_TRUE(inspection.includes[0].complete);
    EXPECT_FALSE(inspection.includes[1].complete);
}

TEST(Inspect, ShowsTheResourcesAndTheirSizes) {
    ResourceRequest request;
    request.icon = parseIcoFile(vexal::testing::icoFile({{16, 32}, {32, 8}}));
    request.splashIcon = parseIcoFile(vexal::testing::icoFile({{48, 24}}));
    request.splashBitmap = parseBmpFile(vexal::testing::bmpFile(30, -20));
    request.version.fileVersion = "2.3";
    request.version.strings = {{"CompanyName", "Tarnwell \"Soft\""}, {"ProductName", "Demo"}};
    request.manifest = {true, DpiAwareness::PerMonitor};
    ResourceTree tree = buildResourceTree(request);
    ConfigStore store;
    store.setNarrow(122, "Main");
    std::string exe = composeExecutable(fakeStub(0x8664, 2), "stub", "x64", store, {}, &tree);
    Inspection inspection;
    std::string reason;
    ASSERT_TRUE(inspectExecutable(exe, inspection, reason)) << reason;
    ASSERT_EQ(inspection.sections.size(), 6u);
    EXPECT_EQ(inspection.sections.back().name, ".rsrc");
    EXPECT_EQ(inspection.sections.back().rawPosition + inspection.sections.back().rawSize, inspection.blockStart);
    const std::string text = inspectionText(inspection, "app.exe");
    const std::string json = inspectionJson(inspection, "app.exe");
    for (const char* line : {"Sections:        6\n", "  Icon APPICON                    16x16 32-bit, 32x32 8-bit\n",
                             "  Icon ID_SPLASH_ICON             48x48 24-bit\n", "  Bitmap 10000                    30x20\n",
                             "  Version                         file 2.3.0.0, product 1.0.0.0\n",
                             "    CompanyName                   \"Tarnwell \\\"Soft\\\"\"\n",
                             "bytes, requireAdministrator, DPI per-monitor\n", "Signature:       none\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
    for (const char* part : {"{\"name\": \"APPICON\", \"images\": [{\"width\": 16, \"height\": 16, \"bitCount\": 32}, "
                             "{\"width\": 32, \"height\": 32, \"bitCount\": 8}]}",
                             "\"bitmap\": {\"width\": 30, \"height\": 20}", "\"fileVersion\": \"2.3.0.0\"",
                             "\"CompanyName\": \"Tarnwell \\\"Soft\\\"\"", "\"executionLevel\": \"requireAdministrator\"",
                             "\"signatureSize\": 0"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    }
}

TEST(Inspect, TheLauncherBuildRecordIsReadFromTheStubPartOnly) {
    const std::string record = std::string("vexal-build: 1.0.0 0123456789ab") + '\0';
    struct Case {
        std::string bytes;
        std::uint64_t end;  // where the stub part ends
        bool found;
        std::string version, commit;
    };
    const std::vector<Case> cases = {
        {"MZ..." + record + "rest", 1000, true, "1.0.0", "0123456789ab"},
        {record, record.size(), true, "1.0.0", "0123456789ab"},
        {std::string("x\0vexal-build: 2.3.4 unknown\0", 29), 29, true, "2.3.4", "unknown"},
        {std::string("vexal-build: 1.0.0 abc-dirty\0", 29), 29, true, "1.0.0", "abc-dirty"},
        // Behind the stub part: the application's data, not a record.
        {"MZ...." + record, 6, false, "", ""},
        {"MZ" + record, 10, false, "", ""},
        // Not records: no zero byte, no commit, other characters; a later
        // good one still counts.
        {"vexal-build: 1.0.0 abc", 100, false, "", ""},
        {std::string("vexal-build: 1.0.0\0", 19), 100, false, "", ""},
        {std::string("vexal-build: 1.0.0 a b\0", 23), 100, false, "", ""},
        {std::string("vexal-build: 1.0.0 \xff\0", 21) + record, 100, true, "1.0.0", "0123456789ab"},
        {"no record at all", 100, false, "", ""},
    };
    for (const auto& c : cases) {
        const LauncherBuild build = findLauncherBuild(c.bytes, c.end);
        EXPECT_EQ(build.found, c.found) << c.bytes;
        EXPECT_EQ(build.version, c.version) << c.bytes;
        EXPECT_EQ(build.commit, c.commit) << c.bytes;
    }
}

TEST(Inspect, TheListingNamesTheLauncherVersion) {
    std::string exe = generated(0x8664, "x64", {});
    Inspection inspection;
    std::string reason;
    ASSERT_TRUE(inspectExecutable(exe, inspection, reason)) << reason;
    EXPECT_NE(inspectionText(inspection, "a.exe").find("\nLauncher:        unknown (the stub carries no build record)\n"),
              std::string::npos);
    EXPECT_NE(inspectionJson(inspection, "a.exe").find("\n  \"launcher\": null,\n"), std::string::npos);

    // A record in the stub's image: in the padding between the fake stub's
    // section table and its first section's data (0x400).
    exe = generated(0x8664, "x64", {});
    const std::string record = std::string("vexal-build: 9.8.7 fedcba987654") + '\0';
    exe.replace(0x300, record.size(), record);
    ASSERT_TRUE(inspectExecutable(exe, inspection, reason)) << reason;
    EXPECT_NE(inspectionText(inspection, "a.exe").find("\nLauncher:        vexal 9.8.7 (commit fedcba987654)\n"),
              std::string::npos)
        << inspectionText(inspection, "a.exe");
    EXPECT_NE(inspectionJson(inspection, "a.exe").find("\n  \"launcher\": {\"version\": \"9.8.7\", \"commit\": \"fedcba987654\"},\n"),
              std::string::npos);
}
