#include <gtest/gtest.h>

#include "config/ConfigStore.h"

using namespace vexal;

TEST(ConfigStore, DecimalConversionLikeStrtol) {
    struct Row {
        const char* text;
        std::int32_t value;
    } rows[] = {
        {"42", 42},       {"  42", 42},     {"+7", 7},          {"-1", -1},   {"1.5", 1},
        {"12abc", 12},    {"x", 0},         {"", 0},            {"\t\n 9", 9}, {"- 3", 0},
        {"2147483647", 2147483647}, {"99999999999", 2147483647}, {"-99999999999", INT32_MIN},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(parseDecimal(row.text), row.value);
    }
}

TEST(ConfigStore, Colours) {
    struct Row {
        const char* text;
        std::uint32_t value;
    } rows[] = {
        {"255,0,0", 255u},       {"0,0,255", 16711680u}, {"0,255,0", 65280u}, {"1,2,3", 1u + 2u * 256 + 3u * 65536},
        {"", 0u},                {"10", 10u},            {"10,20", 10u + 20u * 256},
        {"300,-5,256", 255u + 0u + 255u * 65536},      {" 7 , 8 , 9 ", 7u + 8u * 256 + 9u * 65536},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(parseColor(row.text), row.value);
    }
}

TEST(ConfigStore, MissingIdsReadAsEmptyAndZero) {
    configStore().clear();
    EXPECT_EQ(configString(108), "");
    EXPECT_EQ(configInt(108), 0);
    EXPECT_EQ(configColor(10114), 0u);
    EXPECT_EQ(configWideString(108), u"");
    EXPECT_TRUE(configStore().narrowEntries().empty());  // lookups add nothing
}

TEST(ConfigStore, ValuesAreCutToTheCallersBuffer) {
    configStore().clear();
    configStore().setNarrow(2001, "kv");
    configStore().setNarrow(10112, std::string(40, 'F'));
    configStore().setNarrow(121, std::string(9000, 'c'));
    EXPECT_EQ(configString(2001, kKindBuffer), "k");
    EXPECT_EQ(configString(10112, kFaceNameBuffer).size(), 31u);
    EXPECT_EQ(configString(121).size(), 8191u);
    configStore().clear();
}

TEST(ConfigStore, NarrowAndWideTablesAreIndependent) {
    ConfigStore store;
    store.setNarrow(5, "narrow");
    store.setWide(5, u"wide");
    store.setNarrow(5, "again");
    EXPECT_EQ(store.narrow(5), "again");
    EXPECT_EQ(store.wide(5), u"wide");
    EXPECT_EQ(store.wide(6), u"");
}
