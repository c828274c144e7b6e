#include <gtest/gtest.h>

#include "common/StoreName.h"
#include "files/DeletionStore.h"

using namespace vexal;

TEST(DeletionStore, ParsesWhatItFormats) {
    const std::vector<DeletionEntry> entries = {
        {'d', "/tmp/vxl_dirAb12Cd"}, {'f', "/tmp/vxlQ1w2e3"}, {'d', "/home/u/tmp dir/vxl_dirZZ"}};
    EXPECT_EQ(parseDeletionStore(formatDeletionStore(entries)), entries);
}

TEST(DeletionStore, SkipsWhatCannotBeStoredFaithfully) {
    struct Row {
        const char* name;
        DeletionEntry entry;
    } rows[] = {
        {"empty path", {'d', ""}},
        {"relative path", {'d', "vxl_dirA"}},
        {"line break", {'f', "/tmp/a\nd /home/u"}},
        {"carriage return", {'f', "/tmp/a\r"}},
        {"unknown kind", {'x', "/tmp/a"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(formatDeletionStore({row.entry}), "");
    }
}

TEST(DeletionStore, ParseSkipsDamagedLines) {
    const std::string text = "d /tmp/vxl_dirA\ngarbage\nf relative\nx /tmp/b\n\nf /tmp/c";
    EXPECT_EQ(parseDeletionStore(text), (std::vector<DeletionEntry>{{'d', "/tmp/vxl_dirA"}, {'f', "/tmp/c"}}));
}

TEST(DeletionStore, AddsAnEntryOnce) {
    std::vector<DeletionEntry> entries = withDeletionEntry({}, {'d', "/tmp/vxl_dirA"});
    entries = withDeletionEntry(entries, {'d', "/tmp/vxl_dirA"});
    entries = withDeletionEntry(entries, {'f', "/tmp/vxl_dirA"});
    EXPECT_EQ(entries.size(), 2u);
}

// Only extraction directories are ever removed as a whole.
TEST(DeletionStore, ExtractionDirectoryNames) {
    struct Row {
        const char* path;
        bool removable;
    } rows[] = {
        {"/tmp/vxl_dirAb12Cd", true},
        {"/tmp/vxl_dirAb12Cd/", true},
        {"/tmp/vxl_dir", false},
        {"/home/user", false},
        {"/", false},
        {"/tmp/vxl_dirA/..", false},
        {"/tmp/xvxl_dirA", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(isExtractionDirectoryName(row.path), row.removable);
    }
}

TEST(StoreName, DistinctKeysGiveDistinctNamesInsideTheStore) {
    struct Row {
        const char* key;
        const char* name;
    } rows[] = {
        {"/opt/app/run", "%2Fopt%2Fapp%2Frun"},
        {"/opt/app_run", "%2Fopt%2Fapp_run"},
        {"/a%2Fb", "%2Fa%252Fb"},
        {".", "%."},
        {"..", "%.."},
        {"", "%"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(storeFileName(row.key), row.name);
    }
}

TEST(StoreName, LongKeysAreHashedAndStayDistinct) {
    const std::string a = "/" + std::string(300, 'a') + "/one";
    const std::string b = "/" + std::string(300, 'b') + "/one";
    EXPECT_LE(storeFileName(a).size(), 200u);
    EXPECT_NE(storeFileName(a), storeFileName(b));
    EXPECT_EQ(storeFileName(a).find('/'), std::string::npos);
}

TEST(StoreName, StateDirectory) {
    EXPECT_EQ(stateDirectoryFrom("/x/state", "/home/u"), "/x/state/vexal/");
    EXPECT_EQ(stateDirectoryFrom("", "/home/u"), "/home/u/.local/state/vexal/");
    EXPECT_EQ(stateDirectoryFrom("relative", "/home/u"), "/home/u/.local/state/vexal/");
    EXPECT_EQ(stateDirectoryFrom("", ""), "");
}
