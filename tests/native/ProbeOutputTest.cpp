#include "windows/WinLoader/ProbeOutput.h"

#include <gtest/gtest.h>

using namespace vexal;

TEST(ProbeOutput, VersionFromTheStandardErrorText) {
    const struct {
        const char* name;
        std::string output;
        bool found;
        const char* version;
    } rows[] = {
        {"OpenJDK", "openjdk version \"17.0.15\" 2025-04-15\nOpenJDK Runtime Environment (build 17.0.15+6)\n", true,
         "17.0.15"},
        {"Oracle banner", "java version \"1.8.0_402\"\nJava(TM) SE Runtime Environment\n", true, "1.8.0_402"},
        {"CR LF line ends", "openjdk version \"25.0.1\" 2025-10-21 LTS\r\nmore\r\n", true, "25.0.1"},
        {"notice of JAVA_TOOL_OPTIONS first",
         "Picked up JAVA_TOOL_OPTIONS: -Dfile.encoding=UTF-8\nopenjdk version \"17.0.15\" 2025-04-15\n", true,
         "17.0.15"},
        {"two notices", "Picked up _JAVA_OPTIONS: -Xmx1g\nPicked up JDK_JAVA_OPTIONS: -Da=b\njava version \"11\"\n", true,
         "11"},
        {"banner without line end", "openjdk version \"21\"", true, "21"},
        {"other first line", "Error: could not find libjvm.so\nopenjdk version \"17\"\n", false, ""},
        {"only notices", "Picked up JAVA_TOOL_OPTIONS: x\n", false, ""},
        {"empty", "", false, ""},
        {"unclosed quote", "openjdk version \"17.0.15\n", false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string version = "unchanged";
        EXPECT_EQ(versionOfProbeOutput(row.output, version), row.found);
        if (row.found) EXPECT_EQ(version, row.version);
    }
}

// The Windows probe reads a banner line only as far as 99 bytes reach.
TEST(ProbeOutput, BannerLineLimit) {
    const std::string head = "java version \"";
    const std::string fits = head + std::string(98 - head.size(), '1') + "\"";   // 99 bytes
    const std::string cut = head + std::string(99 - head.size(), '1') + "\"";    // 100 bytes: quote cut off
    std::string version;
    EXPECT_TRUE(versionOfProbeOutput("Picked up _JAVA_OPTIONS: " + std::string(500, 'x') + "\r\n" + fits + "\r\n",
                                     version, 99));
    EXPECT_EQ(version.size(), 98 - head.size());
    EXPECT_FALSE(versionOfProbeOutput(cut + "\r\n", version, 99));
    EXPECT_TRUE(versionOfProbeOutput(cut + "\r\n", version));
}

TEST(CachedVersion, EntryHoldsOnlyForTheSameLastWriteTime) {
    const FileTime time{0x89abcdefu, 0x01d9a5c3u};
    const std::string entry = formatCachedVersion(time, "17.0.15");
    EXPECT_EQ(entry, "01d9a5c389abcdef\n17.0.15\n");
    std::string version;
    ASSERT_TRUE(parseCachedVersion(entry, time, version));
    EXPECT_EQ(version, "17.0.15");

    const struct {
        const char* name;
        std::string text;
        FileTime time;
    } misses[] = {
        {"low word differs in one bit", entry, {0x89abcdeeu, 0x01d9a5c3u}},
        {"high word differs", entry, {0x89abcdefu, 0x01d9a5c4u}},
        {"entry cut short", entry.substr(0, entry.size() - 1), time},
        {"no version", "01d9a5c389abcdef\n\n", time},
        {"stamp only", "01d9a5c389abcdef", time},
        {"stamp longer than the time", "01d9a5c389abcdef0\n17\n", time},
        {"empty", "", time},
    };
    for (const auto& miss : misses) {
        SCOPED_TRACE(miss.name);
        std::string got;
        EXPECT_FALSE(parseCachedVersion(miss.text, miss.time, got));
    }
}

TEST(RegisteredRuntimes, GreatestVersionWinsAndTheFirstOfEqualsStays) {
    // Piece by piece, numbers by value, like every version comparison of the
    // search.
    const struct {
        const char* version;
        bool haveBest;
        const char* best;
        bool better;
    } rows[] = {
        {"17.0.15", false, "", true},   {"25.0.1", true, "17.0.15", true}, {"17.0.15", true, "25.0.1", false},
        {"17.0.15", true, "17.0.15", false}, {"17.0.2", true, "17.0.15", false}, {"1.8.0_402", true, "11.0.2", false},
        {"9.0.4", true, "25.0.1", false},   {"25.0.1", true, "9.0.4", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version);
        EXPECT_EQ(isBetterRuntime(row.version, row.haveBest, row.best), row.better);
    }
}
