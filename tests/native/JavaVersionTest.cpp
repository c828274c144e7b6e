#include "windows/WinLoader/JavaVersion.h"

#include <gtest/gtest.h>

using namespace vexal;

namespace {

struct BoundsRow {
    const char* version;
    const char* minimum;
    const char* maximum;
    bool inRange;
};

}  // namespace

// Inclusive prefix bounds, compared piece by piece: digit runs as numbers,
// other bytes as unsigned bytes.
TEST(VersionInRange, BoundsArePiecewisePrefixes) {
    const BoundsRow rows[] = {
        {"1.5.0_06", "1.5", "", true},
        {"1.6.0", "1.5", "", true},
        {"1.4.2_08", "1.5", "", false},
        {"1.5", "1.5.0", "", false},  // the shorter version compares its end first
        {"1.5.0", "1.5.0", "", true},
        {"1.5.0_06", "", "1.5", true},
        {"1.6.0", "", "1.5", false},
        {"1.5.0_06", "1.5", "1.5", true},
        {"anything", "", "", true},
        {"", "", "", true},
        {"", "1", "", false},
        {"1.10", "1.5", "", true},  // numbers, not text
        {"1.10", "", "1.5", false},
        {"17.0.15", "1.5", "", true},
        {"9.0.4", "11", "", false},  // as text "9" would sort above "11"
        {"10.0.2", "11", "", false},
        {"11.0.2", "11", "", true},
        {"17.0.15", "", "17.0.2", false},  // as text "17.0.1" would sort below "17.0.2"
        {"17.0.2", "", "17.0.15", true},
        {"17.0.15", "", "17", true},  // a bound reaches only as far as its own pieces
        {"170", "", "17", false},
        {"17", "", "1", false},  // as a byte prefix "1" took in "17"
        {"1.8.0_202", "1.8", "1.8", true},
        {"1.8.0_202", "", "1.8.0_99", false},
        {"25-ea", "21", "", true},
        {"0017", "17", "17", true},  // leading zeros do not count
        {"99999999999999999999.0", "18446744073709551616", "", true},  // no overflow
        {"1.5.0-b2", "1.5.0_", "", false},  // "-" sorts below "_" as bytes
        {"1.5\xe9", "1.5z", "", true},  // bytes above 0x7f order as unsigned
        {"1.5\xe9", "", "1.5z", false},
    };
    for (const BoundsRow& row : rows) {
        SCOPED_TRACE(std::string(row.version) + " [" + row.minimum + ", " + row.maximum + "]");
        EXPECT_EQ(versionInRange(row.version, row.minimum, row.maximum, false, false), row.inRange);
    }
}

// A beta passes only where the caller accepts it or entry 130 allows it.
TEST(VersionInRange, BetaRule) {
    struct Row {
        const char* version;
        bool acceptBeta;   // directory locations and located records
        bool betaEnabled;  // entry 130
        bool inRange;
    } rows[] = {
        {"1.6.0-beta2", false, false, false},  // environment variable, entry 130 = 0
        {"1.6.0-beta2", false, true, true},    // environment variable, entry 130 = 1
        {"1.6.0-beta2", true, false, true},    // directory, either way
        {"1.6.0-beta2", true, true, true},
        {"1.6.0-Beta2", false, false, true},  // the word is matched case-sensitively
        {"beta", false, false, false},
        {"1.6.0-ea", false, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.version) + " accept=" + std::to_string(row.acceptBeta) +
                     " enabled=" + std::to_string(row.betaEnabled));
        EXPECT_EQ(versionInRange(row.version, "1.5", "", row.acceptBeta, row.betaEnabled), row.inRange);
    }
    // A beta outside the bounds stays outside.
    EXPECT_FALSE(versionInRange("1.4.2-beta", "1.5", "", true, true));
}

// Registry family names compare only as far as the shorter text reaches.
TEST(VersionPrefixInRange, ComparesTheCommonLength) {
    const BoundsRow rows[] = {
        {"1.5", "1.5.0_06", "", true},
        {"1.4", "1.5", "", false},
        {"1.4.2", "1.5", "", false},
        {"1.5.0_06", "1.5", "", true},
        {"", "1.5", "1.6", true},
        {"1.6", "1.5", "1.5.0", false},
        {"1.5", "1.4", "1.5.0_06", true},
        {"1.6.0", "", "1.5", false},
        {"1", "1.5", "1.5", true},
        {"9", "11", "", false},
        {"1.10", "1.5", "1.9", false},
    };
    for (const BoundsRow& row : rows) {
        SCOPED_TRACE(std::string(row.version) + " [" + row.minimum + ", " + row.maximum + "]");
        EXPECT_EQ(versionPrefixInRange(row.version, row.minimum, row.maximum), row.inRange);
    }
}

TEST(CompareVersions, OrdersWholeVersionsPieceByPiece) {
    struct Row {
        const char* left;
        const char* right;
        int order;
    } rows[] = {
        {"25.0.1", "9.0.4", 1},   {"17.0.15", "17.0.2", 1}, {"1.8.0_202", "1.8.0_99", 1},
        {"17", "17.0.1", -1},     {"17.0.1", "17.0.1", 0},  {"", "1", -1},
        {"1.8.0", "17", -1},      {"007", "7", 0},          {"17-ea", "17", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.left) + " vs " + row.right);
        const int order = compareVersions(row.left, row.right);
        EXPECT_EQ((order > 0) - (order < 0), row.order);
        const int back = compareVersions(row.right, row.left);
        EXPECT_EQ((back > 0) - (back < 0), -row.order);
    }
}

TEST(ParseVersionBanner, JavaAndOpenJdkBanners) {
    struct Row {
        const char* line;
        bool parsed;
        const char* version;
    } rows[] = {
        {"java version \"1.5.0_06\"\n", true, "1.5.0_06"},
        {"java version \"1.5.0_06\"", true, "1.5.0_06"},
        {"java version \"1.6.0-beta2\"\r\n", true, "1.6.0-beta2"},
        {"openjdk version \"17.0.15\" 2025-04-15\n", true, "17.0.15"},
        {"openjdk version \"1.8.0_452\"\n", true, "1.8.0_452"},
        {"java version \"21\" 2023-09-19 LTS\n", true, "21"},
        {"java version \"1.5.0_06\n", false, ""},  // no closing quote: a line cut short
        {"java version \"\"\n", false, ""},
        {"java version \"", false, ""},
        {"java version 1.5.0\n", false, ""},
        {"Java version \"1.5.0\"\n", false, ""},
        {" java version \"1.5.0\"\n", false, ""},
        {"openjdk 17.0.15 2025-04-15\n", false, ""},
        {"Picked up _JAVA_OPTIONS: -Xmx1g\n", false, ""},
        {"", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        std::string version = "unchanged";
        EXPECT_EQ(parseVersionBanner(row.line, version), row.parsed);
        if (row.parsed) {
            EXPECT_EQ(version, row.version);
        }
    }
}
