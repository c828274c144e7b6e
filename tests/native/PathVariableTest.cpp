#include <gtest/gtest.h>

#include "process/PathVariable.h"

using namespace vexal;

TEST(PathVariable, PrefixThenOneSeparatorThenOldValue) {
    struct Row {
        const char* list;
        const char* oldPath;
        const char* value;
    } rows[] = {
        {"c:\\app\\lib;c:\\tools", "c:\\windows", "c:\\app\\lib;c:\\tools;c:\\windows"},
        {"c:\\app\\bin;", "c:\\windows", "c:\\app\\bin;c:\\windows"},
        {"c:\\app\\bin", "", "c:\\app\\bin;"},
        {"", "c:\\windows;c:\\bin", "c:\\windows;c:\\bin"},
        {"", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.list);
        const PathValue v = composePathValue(row.list, row.oldPath);
        EXPECT_EQ(v.value, row.value);
        EXPECT_FALSE(v.cut);
    }
}

// Buffer of 16 bytes: 15 bytes of text.
TEST(PathVariable, TooLongKeepsThePrefixAndWholeOldEntries) {
    struct Row {
        const char* list;
        const char* oldPath;
        const char* value;
        bool cut;
    } rows[] = {
        {"p", "aaaa;bbbb;cc", "p;aaaa;bbbb;cc", false},  // 14 bytes
        {"p", "aaaa;bbbb;ccc", "p;aaaa;bbbb;ccc", false},  // exactly 15
        {"p", "aaaa;bbbb;cccc", "p;aaaa;bbbb", true},
        {"p", "aaaa;bbbbbbbbbbbb", "p;aaaa", true},
        {"p", "aaaaaaaaaaaaaaaaaa", "p;", true},
        {"pppppppp;qqqqqq", "old", "pppppppp;old", true},  // the prefix alone does not fit
        {"ppppppppppppppppppp", "old", "old", true},   // nor does its one entry
        // An empty list leaves even a long value alone.
        {"", "aaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaa", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.list) + " + " + row.oldPath);
        const PathValue v = composePathValue(row.list, row.oldPath, 16);
        EXPECT_EQ(v.value, row.value);
        EXPECT_EQ(v.cut, row.cut);
        if (row.list[0] != '\0') EXPECT_LE(v.value.size(), 15u);
    }
}

TEST(PathVariable, LinuxStyleUsesTheColon) {
    struct Row {
        const char* list;
        const char* oldPath;
        std::size_t buffer;
        const char* value;
        bool cut;
    } rows[] = {
        {"/opt/app/bin", "/usr/bin:/bin", kTextBuffer, "/opt/app/bin:/usr/bin:/bin", false},
        {"/opt/app/bin:", "/usr/bin", kTextBuffer, "/opt/app/bin:/usr/bin", false},
        {"", "/usr/bin", kTextBuffer, "/usr/bin", false},
        {"/a;b", "/usr/bin", kTextBuffer, "/a;b:/usr/bin", false},
        {"/p", "/usr/bin:/bin", 12, "/p:/usr/bin", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.list);
        const PathValue v = composePathValue(row.list, row.oldPath, kLinuxPathStyle, row.buffer);
        EXPECT_EQ(v.value, row.value);
        EXPECT_EQ(v.cut, row.cut);
    }
}
