#include <gtest/gtest.h>

#include "files/DeletionList.h"

using namespace vexal;

using Paths = std::vector<std::string>;

TEST(DeletionList, ParsesPathsAndSkipsEmptyPieces) {
    struct Row {
        const char* value;
        Paths paths;
    } rows[] = {
        {"", {}},
        {";", {}},
        {";;;", {}},
        {"c:\\a.jar;", {"c:\\a.jar"}},
        {"c:\\a.jar;c:\\b dir\\b.dll;", {"c:\\a.jar", "c:\\b dir\\b.dll"}},
        {";c:\\a;;c:\\b;;", {"c:\\a", "c:\\b"}},
        {"c:\\a;c:\\a;c:\\a;", {"c:\\a", "c:\\a", "c:\\a"}},
        {"c:\\a;c:\\b", {"c:\\a", "c:\\b"}},  // a last piece without its ";"
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(parseDeletionList(row.value), row.paths);
    }
}

TEST(DeletionList, AppendsWithinTheBound) {
    struct Row {
        const char* value;
        const char* path;
        std::size_t limit;
        const char* expected;
    } rows[] = {
        {"", "c:\\a", 100, "c:\\a;"},
        {"c:\\a;", "c:\\b", 100, "c:\\a;c:\\b;"},
        {"c:\\a;", "c:\\a", 100, "c:\\a;c:\\a;"},          // repeated entries are kept
        {";", "c:\\a", 100, ";c:\\a;"},                     // stored text kept as it was
        {"c:\\a", "c:\\b", 100, "c:\\a;c:\\b;"},            // a missing last ";" is supplied
        {"aa;bb;", "cc", 9, "aa;bb;cc;"},                    // exactly full
        {"aa;bb;", "ccc", 9, "bb;ccc;"},                     // one byte over: the oldest goes
        {"aa;bb;", "cccccc", 9, "cccccc;"},                  // every old entry goes
        {"aa;bb;", "cccccccc", 9, "cccccccc;"},              // the new path alone fills the value
        {"aa;bb;", "ccccccccc", 9, "aa;bb;"},                // longer than the value can be: skipped
        {";;aa;;bb;", "cc", 9, "aa;bb;cc;"},                 // a full list gives up its empty pieces first
        {"aa;bb;", "", 100, "aa;bb;"},                       // nothing to store
        {"aa;", "c:\\x;y", 100, "aa;"},                      // a ";" would split the path on reading
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.value) + " + " + row.path);
        EXPECT_EQ(appendToDeletionList(row.value, row.path, row.limit), row.expected);
    }
}

TEST(DeletionList, FullListKeepsTheNewestEntriesAtTheRealBound) {
    // 200 paths of 100 bytes each: far more than 8191 bytes.
    std::string value;
    Paths appended;
    for (int i = 0; i < 200; ++i) {
        std::string path = "c:\\temp\\vxl" + std::to_string(1000 + i) + std::string(81, 'x') + ".tmp";
        ASSERT_EQ(path.size(), 100u);
        value = appendToDeletionList(value, path);
        appended.push_back(path);
        ASSERT_LE(value.size(), kDeletionListLimit);
    }
    const Paths kept = parseDeletionList(value);
    ASSERT_EQ(kept.size(), kDeletionListLimit / 101);  // 81 entries of 101 bytes fit
    EXPECT_EQ(kept, Paths(appended.end() - static_cast<std::ptrdiff_t>(kept.size()), appended.end()));

    const std::string longest(kDeletionListLimit - 1, 'p');
    EXPECT_EQ(appendToDeletionList(value, longest), longest + ";");
    EXPECT_EQ(appendToDeletionList(value, longest + "p"), value);
}

TEST(DeletionList, ExtractionDirectoryPaths) {
    const struct {
        const char* path;
        bool extraction;
    } rows[] = {
        {"C:\\users\\me\\Temp\\vxlA1B2.tmp_dir12345", true},
        {"z:\\tmp\\vxl1.tmp_dir0", true},
        {"c:/temp/VXLff.TMP_DIR7", true},
        {"\\\\server\\share\\vxl9.tmp_dir42", true},
        {"vxl1.tmp_dir1", false},                       // relative
        {"\\temp\\vxl1.tmp_dir1", false},             // rooted, no drive
        {"c:\\temp\\vxl.tmp_dir1", false},            // no digits
        {"c:\\temp\\vxl12345.tmp_dir1", false},       // five hex digits
        {"c:\\temp\\vxlg1.tmp_dir1", false},          // not hexadecimal
        {"c:\\temp\\vxl1.tmp_dir", false},            // no number
        {"c:\\temp\\vxl1.tmp_dir123456", false},      // six digits
        {"c:\\temp\\vxl1.tmp_dir18446744073709551615", true},   // twenty
        {"c:\\temp\\vxl1.tmp_dir00000000000000000042", true},
        {"c:\\temp\\vxl1.tmp_dir1844674407370955161", false},   // nineteen
        {"c:\\temp\\vxl1.tmp_dir184467440737095516150", false}, // twenty-one
        {"c:\\temp\\vxl1.tmp_dir1x", false},          // trailing text
        {"c:\\temp\\vxl1.tmp_dir1\\", false},         // trailing separator
        {"c:\\users\\me\\Documents", false},
        {"c:\\", false},
        {"c:\\temp\\vxl1.tmp_dir1\\..", false},
        {"", false},
    };
    for (const auto& row : rows) EXPECT_EQ(isExtractionDirectoryPath(row.path), row.extraction) << row.path;
}

// The names the launcher makes are the ones its clean-up recognises, for the
// smallest and the largest number.
TEST(DeletionList, MadeExtractionDirectoriesAreRecognised) {
    const struct {
        std::uint64_t number;
        const char* path;
    } rows[] = {
        {0, "c:\\windows\\temp\\vxlA1.tmp_dir00000000000000000000"},
        {42, "c:\\windows\\temp\\vxlA1.tmp_dir00000000000000000042"},
        {18446744073709551615ull, "c:\\windows\\temp\\vxlA1.tmp_dir18446744073709551615"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(extractionDirectoryPath("c:\\windows\\temp\\vxlA1.tmp", row.number), row.path);
        EXPECT_TRUE(isExtractionDirectoryPath(row.path)) << row.path;
    }
}
