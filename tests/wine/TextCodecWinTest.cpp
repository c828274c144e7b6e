#include <gtest/gtest.h>

#include "common/TextCodec.h"

using namespace vexal;

// Wine's ANSI code page is 1252 in the default prefix.
TEST(TextCodecWin, AnsiConversionsAndTheirLosses) {
    struct Row {
        std::u16string wide;
        bool lossless;
    } rows[] = {
        {u"", true},
        {u"plain ascii", true},
        {u"caf\u00e9 \u00fc", true},
        {u"\u4e2d\u6587", false},
        {u"mixed \u00e9 and \u0416", false},
    };
    for (const Row& row : rows) {
        bool lossless = !row.lossless;
        std::string narrow = wideToAnsi(row.wide, &lossless);
        EXPECT_EQ(lossless, row.lossless);
        if (row.lossless) EXPECT_EQ(ansiToWide(narrow), row.wide);
        else EXPECT_NE(narrow.find('?'), std::string::npos);
    }
}
