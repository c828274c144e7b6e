#include <gtest/gtest.h>

#include "config/ConfigBlock.h"

using namespace vexal;

namespace {

std::string int32(std::int32_t v) {
    std::string s;
    appendInt32(s, v);
    return s;
}

std::string narrowEntry(std::int32_t id, const std::string& text) { return int32(id) + int32(text.size()) + text; }

std::string wideEntry(std::int32_t id, const std::u16string& text) {
    std::string out = int32(id) + int32(static_cast<std::int32_t>(text.size() * 2));
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

const std::string kMagic = int32(static_cast<std::int32_t>(kBlockMagic));

// A PE-like image: header fields at the locator offsets point behind a fake
// resource section, where the block follows.
std::string imageWithBlock(const std::string& block, const BlockLocator& locator = kPe32Locator) {
    std::string image(1024, '\0');
    const std::int32_t rawPosition = 0x200, rawSize = 0x200;
    image.replace(locator.sizeFieldOffset, 4, int32(rawSize));
    image.replace(locator.positionFieldOffset, 4, int32(rawPosition));
    return image + block;
}

struct Loaded {
    BlockReadResult result;
    ConfigStore store;
};

Loaded load(const std::string& image, const BlockLocator& locator = kPe32Locator) {
    Loaded l;
    MemorySource source(image);
    l.result = readConfigBlock(source, locator, l.store);
    return l;
}

}  // namespace

TEST(ConfigBlock, SampleEntryBytesMatchTheDocumentedLayout) {
    ConfigStore store;
    store.setNarrow(102, "1");
    std::string block = writeConfigBlock(store);
    const std::string expected = std::string("\xD5\x13\xE4\xE8", 4) + int32(1) +
                                 std::string("\x66\x00\x00\x00\x01\x00\x00\x00\x31", 9) + int32(0);
    EXPECT_EQ(block, expected);
}

TEST(ConfigBlock, FailureTable) {
    const std::string narrowCut = kMagic + int32(1) + int32(7) + int32(10) + "abc";
    const std::string wideCut = kMagic + int32(0) + int32(1) + int32(9) + int32(8) + "ab";
    struct Row {
        const char* name;
        std::string image;
        BlockError error;
        const char* text;
    };
    const Row rows[] = {
        {"missing block", imageWithBlock(""), BlockError::ReadInt, "Internal Error: readInt"},
        {"file shorter than the header", std::string(300, '\0'), BlockError::ReadInt, "Internal Error: readInt"},
        {"wrong magic", imageWithBlock(int32(0x12345678) + int32(0) + int32(0)), BlockError::Magic,
         "Internal Error: magic"},
        {"cut inside the magic", imageWithBlock(kMagic.substr(0, 3)), BlockError::ReadInt, "Internal Error: readInt"},
        {"cut before the wide count", imageWithBlock(kMagic + int32(0)), BlockError::ReadInt,
         "Internal Error: readInt"},
        {"cut inside an id", imageWithBlock(kMagic + int32(1) + "\x01\x02"), BlockError::ReadInt,
         "Internal Error: readInt"},
        {"cut inside a narrow value", imageWithBlock(narrowCut), BlockError::ReadString,
         "Internal Error: readString"},
        {"cut inside a wide value", imageWithBlock(wideCut), BlockError::ReadWString, "Internal Error: readWString"},
        {"negative narrow length", imageWithBlock(kMagic + int32(1) + int32(5) + int32(-1) + int32(0)),
         BlockError::ReadString, "Internal Error: readString"},
        {"negative wide length", imageWithBlock(kMagic + int32(0) + int32(1) + int32(5) + int32(-2)),
         BlockError::ReadWString, "Internal Error: readWString"},
        // The file ends inside a length field: the integer read fails.
        {"cut inside a narrow length", imageWithBlock(kMagic + int32(1) + int32(5) + "\x03\x00"), BlockError::ReadInt,
         "Internal Error: readInt"},
        {"cut inside a wide length", imageWithBlock(kMagic + int32(0) + int32(1) + int32(5) + "\x04"),
         BlockError::ReadInt, "Internal Error: readInt"},
        {"cut right after a narrow id", imageWithBlock(kMagic + int32(1) + int32(5)), BlockError::ReadInt,
         "Internal Error: readInt"},
        {"wide length far beyond the file",
         imageWithBlock(kMagic + int32(0) + int32(1) + int32(5) + int32(0x7FFFFFFE) + std::string(16, 'x')),
         BlockError::ReadWString, "Internal Error: readWString"},
        {"narrow count far beyond the file", imageWithBlock(kMagic + int32(0x7FFFFFFF) + int32(5) + int32(0)),
         BlockError::ReadInt, "Internal Error: readInt"},
        {"length far beyond the file",
         imageWithBlock(kMagic + int32(1) + int32(5) + int32(0x7FFFFFFF) + std::string(16, 'x')),
         BlockError::ReadString, "Internal Error: readString"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Loaded l = load(row.image);
        EXPECT_EQ(l.result.error, row.error);
        EXPECT_STREQ(blockErrorText(l.result.error), row.text);
    }
}

TEST(ConfigBlock, EmptyBlockLoadsAndEndsAtTheFileEnd) {
    std::string image = imageWithBlock(kMagic + int32(0) + int32(0));
    Loaded l = load(image);
    ASSERT_EQ(l.result.error, BlockError::None);
    EXPECT_EQ(l.result.blockEnd, image.size());
    EXPECT_TRUE(l.store.narrowEntries().empty());
    EXPECT_TRUE(l.store.wideEntries().empty());
}

TEST(ConfigBlock, NegativeCountsMeanNoEntries) {
    Loaded l = load(imageWithBlock(kMagic + int32(-3) + int32(-1)));
    ASSERT_EQ(l.result.error, BlockError::None);
    EXPECT_TRUE(l.store.narrowEntries().empty());
}

TEST(ConfigBlock, EntriesDuplicatesAndSeparateIdSpaces) {
    std::string block = kMagic + int32(4) + narrowEntry(122, "first") + narrowEntry(107, "2") +
                        narrowEntry(122, "second") + narrowEntry(-5, "") + int32(2) + wideEntry(122, u"wide") +
                        wideEntry(3, u"\u00e9t\u00e9");
    std::string trailer = "included-file data";
    std::string image = imageWithBlock(block + trailer);
    Loaded l = load(image);
    ASSERT_EQ(l.result.error, BlockError::None);
    EXPECT_EQ(l.store.narrow(122), "second");
    EXPECT_EQ(l.store.narrow(107), "2");
    EXPECT_TRUE(l.store.hasNarrow(-5));
    EXPECT_EQ(l.store.narrow(-5), "");
    EXPECT_EQ(l.store.wide(122), u"wide");
    EXPECT_EQ(l.store.wide(3), u"\u00e9t\u00e9");
    EXPECT_EQ(l.result.blockEnd, image.size() - trailer.size());
}

TEST(ConfigBlock, OddWideLengthDropsTheLastByte) {
    std::string block = kMagic + int32(0) + int32(1) + int32(7) + int32(3) + std::string("A\0B", 3);
    Loaded l = load(imageWithBlock(block));
    ASSERT_EQ(l.result.error, BlockError::None);
    EXPECT_EQ(l.store.wide(7), u"A");
    EXPECT_EQ(l.result.blockEnd, imageWithBlock(block).size());
}

TEST(ConfigBlock, Pe32PlusLocatorReadsItsOwnOffsets) {
    ConfigStore store;
    store.setNarrow(101, "x64");
    Loaded l = load(imageWithBlock(writeConfigBlock(store), kPe32PlusLocator), kPe32PlusLocator);
    ASSERT_EQ(l.result.error, BlockError::None);
    EXPECT_EQ(l.store.narrow(101), "x64");
}

TEST(ConfigBlock, WriterRoundTripsEveryEntryInIdOrder) {
    ConfigStore store;
    store.setNarrow(10005, "1");
    store.setNarrow(-7, "neg");
    store.setNarrow(101, std::string(8191, 'a'));
    store.setWide(1, u"\u4e2d\u6587");
    std::string block = writeConfigBlock(store);
    Loaded l = load(imageWithBlock(block));
    ASSERT_EQ(l.result.error, BlockError::None);
    EXPECT_EQ(l.store.narrowEntries(), store.narrowEntries());
    EXPECT_EQ(l.store.wideEntries(), store.wideEntries());
    EXPECT_EQ(writeConfigBlock(l.store), block);
}
