#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <vector>

#include "common/ProcessExit.h"
#include "common/TextCodec.h"

using namespace vexal;

TEST(ProcessExitDeathTest, ImmediateExitFlushesBufferedOutput) {
    EXPECT_EXIT(
        {
            std::fputs("error 38\n", stderr);
            setvbuf(stdout, nullptr, _IOFBF, 4096);
            std::fputs("buffered", stdout);
            exitProcessNow(83);
        },
        ::testing::ExitedWithCode(83), "error 38");
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(ProcessExitDeathTest, MemoryExhaustionEndsWithOutOfMemory) {
    EXPECT_EXIT(
        {
            installOutOfMemoryHandler();
            std::vector<char*> blocks;
            for (;;) blocks.push_back(new char[std::size_t(1) << 40]);
        },
        ::testing::ExitedWithCode(1), "out of memory");
}
#endif

TEST(TextCodec, Utf16RoundTripOnLinux) {
    const std::u16string samples[] = {u"", u"plain", u"caf\u00e9", u"\u4e2d\u6587", u"\U0001F600 smile"};
    for (const auto& s : samples) {
        bool lossless = false;
        std::string narrow = wideToAnsi(s, &lossless);
        EXPECT_TRUE(lossless);
        EXPECT_EQ(ansiToWide(narrow), s);
    }
    bool lossless = true;
    wideToAnsi(std::u16string(1, u'\xD800'), &lossless);  // lone surrogate
    EXPECT_FALSE(lossless);
}
