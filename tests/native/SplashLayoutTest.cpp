#include <gtest/gtest.h>

#include <string>

#include "config/ConfigStore.h"
#include "splash/SplashLayout.h"

using namespace vexal;

namespace {

class SplashLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { configStore().clear(); }
    void TearDown() override { configStore().clear(); }
    void set(std::int32_t id, const std::string& value) { configStore().setNarrow(id, value); }
};

// Every value comes from its own entry: distinct values per entry show a
// mix-up of ids.
TEST_F(SplashLayoutTest, ReadsEachValueFromItsEntry) {
    set(101, "Demo App");
    set(141, "320");
    set(142, "200");
    set(147, "1");
    set(145, "1");
    set(10109, "11");
    set(10110, "12");
    set(10111, "Starting");
    set(10112, "Arial");
    set(10113, "13");
    set(10114, "1,2,3");
    set(10115, "700");
    set(10116, "21");
    set(10117, "22");
    set(10118, "Version 1.0");
    set(10119, "Tahoma");
    set(10120, "23");
    set(10121, "255,128,0");
    set(10122, "400");

    SplashLayout layout = readSplashLayout();
    EXPECT_EQ(layout.title, "Demo App");
    EXPECT_EQ(layout.width, 320);
    EXPECT_EQ(layout.height, 200);
    EXPECT_TRUE(layout.topmost);
    EXPECT_TRUE(layout.closeOnWindow);

    struct Row {
        const char* name;
        const SplashTextLine& line;
        SplashTextLine expected;
    } rows[] = {
        {"status", layout.status, {"Starting", 11, 12, "Arial", 13, 700, 0x030201}},
        {"version", layout.version, {"Version 1.0", 21, 22, "Tahoma", 23, 400, 0x0080FF}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.line.text, row.expected.text);
        EXPECT_EQ(row.line.x, row.expected.x);
        EXPECT_EQ(row.line.y, row.expected.y);
        EXPECT_EQ(row.line.face, row.expected.face);
        EXPECT_EQ(row.line.points, row.expected.points);
        EXPECT_EQ(row.line.weight, row.expected.weight);
        EXPECT_EQ(row.line.color, row.expected.color);
    }
}

TEST_F(SplashLayoutTest, MissingEntriesLeaveEverythingOffAndEmpty) {
    SplashLayout layout = readSplashLayout();
    EXPECT_EQ(layout.width, 0);
    EXPECT_FALSE(layout.topmost);
    EXPECT_FALSE(layout.closeOnWindow);
    EXPECT_EQ(layout.status.text, "");
    EXPECT_EQ(layout.version.color, 0u);
}

// A face name longer than the 31 characters of a font description is cut;
// texts keep up to 8191 bytes.
TEST_F(SplashLayoutTest, CutsFaceNamesAndTextsToTheirBuffers) {
    set(10112, std::string(40, 'F'));
    set(10119, std::string(31, 'G'));
    set(10111, std::string(9000, 's'));
    SplashLayout layout = readSplashLayout();
    EXPECT_EQ(layout.status.face, std::string(31, 'F'));
    EXPECT_EQ(layout.version.face, std::string(31, 'G'));
    EXPECT_EQ(layout.status.text.size(), 8191u);
}

}  // namespace
