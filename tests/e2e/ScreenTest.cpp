// The screenshot reader of the window tests: binary PPM files as ImageMagick
// writes them, and the malformed ones it must refuse rather than misread.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/Screen.h"

namespace vexal::testing {
namespace {

std::string samples(int count) {
    std::string bytes;
    for (int i = 0; i < count * 3; ++i) bytes.push_back(static_cast<char>(i * 7));
    return bytes;
}

TEST(PpmFile, ReadsHeaderVariantsAndPixelsInRowOrder) {
    struct Row {
        const char* name;
        std::string header;
    } rows[] = {
        {"plain", "P6\n3 2\n255\n"},
        {"comments", "P6\n# made by a test\n3 # width\n2\n255\n"},
        {"spaces", "P6 3 2 255 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto image = parsePpm(row.header + samples(6));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width(), 3);
        EXPECT_EQ(image->height(), 2);
        EXPECT_EQ(describe(image->at(0, 0)), "(0,7,14)");
        EXPECT_EQ(describe(image->at(2, 1)), describe(Rgb{105, 112, 119}));
        EXPECT_EQ(describe(image->at(3, 0)), "(0,0,0)");  // outside
    }
}

TEST(PpmFile, RefusesWhatItCannotReadExactly) {
    const char* const headers[] = {
        "P3\n3 2\n255\n",      // text samples
        "P6\n3 2\n65535\n",    // two bytes a sample
        "P6\n0 2\n255\n",      // empty
        "P6\n3 -2\n255\n",     // negative
        "P6\n3 2\n",           // no maximum
        "P6\n3x2\n255\n",      // not a number
    };
    for (const char* header : headers) {
        EXPECT_FALSE(parsePpm(std::string(header) + samples(6))) << header;
    }
    EXPECT_FALSE(parsePpm("P6\n3 2\n255\n" + samples(6).substr(1))) << "one byte short";
    EXPECT_FALSE(parsePpm("")) << "empty file";
}

TEST(PpmFile, CountsAndBoundsOfAColour) {
    // 4x3: two marked pixels at (1,0) and (2,2).
    std::string bytes = "P6\n4 3\n255\n" + std::string(4 * 3 * 3, '\0');
    const Rgb mark{9, 8, 7};
    for (int index : {1, 10}) {
        bytes[11 + index * 3] = 9;
        bytes[11 + index * 3 + 1] = 8;
        bytes[11 + index * 3 + 2] = 7;
    }
    const auto image = parsePpm(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->count(Rect{0, 0, 4, 3}, mark), 2);
    EXPECT_EQ(image->count(Rect{2, 0, 10, 10}, mark), 1);  // clipped to the image
    EXPECT_EQ(image->count(Rect{-5, -5, 7, 6}, mark), 1);
    ASSERT_TRUE(image->boundsOf(mark));
    EXPECT_EQ(describe(*image->boundsOf(mark)), "2x3+1+0");
    EXPECT_FALSE(image->boundsOf(Rgb{1, 1, 1}));
}

}  // namespace
}  // namespace vexal::testing
