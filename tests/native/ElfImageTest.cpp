#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "config/ElfImage.h"

using namespace vexal;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool imageEnd(const std::string& bytes, std::uint64_t& end) {
    MemorySource source(bytes);
    return elfImageEnd(source, end);
}

void put(std::string& image, std::size_t at, std::uint64_t value, int count) {
    if (image.size() < at + count) image.resize(at + count, '\0');
    for (int i = 0; i < count; ++i) image[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A small 64-bit image: one program header at 64 covering [progOffset,
// progOffset + progSize), section headers at shoff: a null section and one
// section per (type, offset, size).
struct Section {
    std::uint32_t type;
    std::uint64_t offset;
    std::uint64_t size;
};

std::string syntheticElf(std::uint64_t progOffset, std::uint64_t progSize, std::uint64_t shoff,
                         const std::vector<Section>& sections, std::size_t fileSize) {
    std::string image(fileSize, '\0');
    image.replace(0, 4, "\x7f" "ELF");
    image[4] = 2;  // 64-bit
    image[5] = 1;  // little-endian
    put(image, 32, 64, 8);       // e_phoff
    put(image, 40, shoff, 8);    // e_shoff
    put(image, 54, 56, 2);       // e_phentsize
    put(image, 56, 1, 2);        // e_phnum
    put(image, 58, 64, 2);       // e_shentsize
    put(image, 60, sections.size() + 1, 2);
    put(image, 64 + 8, progOffset, 8);
    put(image, 64 + 32, progSize, 8);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const std::size_t at = shoff + 64 * (i + 1);
        put(image, at + 4, sections[i].type, 4);
        put(image, at + 24, sections[i].offset, 8);
        put(image, at + 32, sections[i].size, 8);
    }
    image.resize(fileSize);
    return image;
}

}  // namespace

// Real programs: the image ends where the file ends, and bytes appended
// behind it change nothing. A stripped copy has its own, smaller end.
TEST(ElfImage, RealProgramsEndAtTheirFileEnd) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    const std::string selfPath(self, static_cast<std::size_t>(n));
    const std::string stripped = ::testing::TempDir() + "elf-stripped";
    ASSERT_EQ(std::system(("strip -o '" + stripped + "' '" + selfPath + "'").c_str()), 0);

    for (const std::string& path : {selfPath, std::string("/bin/sh"), std::string("/usr/bin/env"), stripped}) {
        SCOPED_TRACE(path);
        const std::string bytes = readFile(path);
        ASSERT_GT(bytes.size(), 64u);
        std::uint64_t end = 0;
        ASSERT_TRUE(imageEnd(bytes, end));
        EXPECT_EQ(end, bytes.size());
        std::uint64_t appendedEnd = 0;
        ASSERT_TRUE(imageEnd(bytes + std::string(5000, '\xE8'), appendedEnd));
        EXPECT_EQ(appendedEnd, bytes.size());
    }
    EXPECT_LT(readFile(stripped).size(), readFile(selfPath).size());
    std::remove(stripped.c_str());
}

// The end is the largest of the section table's end, each segment's file
// extent and each section's file extent; sections without file bytes
// (SHT_NOBITS = 8) do not count.
TEST(ElfImage, EndIsTheLargestExtent) {
    struct Row {
        const char* name;
        std::uint64_t progOffset, progSize, shoff;
        std::vector<Section> sections;
        std::size_t fileSize;
        std::uint64_t end;
    } rows[] = {
        {"section table last", 0, 400, 512, {{1, 400, 50}}, 640, 640},
        {"segment past the table", 0, 2000, 512, {{1, 400, 50}}, 3000, 2000},
        {"section past the table", 0, 300, 512, {{1, 700, 900}}, 3000, 1600},
        {"nobits section ignored", 0, 300, 512, {{8, 700, 90000}}, 3000, 640},
        {"empty segment", 0, 0, 512, {{1, 100, 10}}, 700, 640},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::uint64_t end = 0;
        ASSERT_TRUE(imageEnd(syntheticElf(row.progOffset, row.progSize, row.shoff, row.sections, row.fileSize), end));
        EXPECT_EQ(end, row.end);
    }
}

// Damaged or foreign images are refused rather than read out of bounds.
TEST(ElfImage, RefusesWhatItCannotRead) {
    const std::string good = syntheticElf(0, 400, 512, {{1, 400, 50}}, 640);
    auto with = [&](std::size_t at, std::uint64_t value, int count) {
        std::string image = good;
        put(image, at, value, count);
        return image;
    };
    struct Row {
        const char* name;
        std::string image;
    } rows[] = {
        {"empty", std::string()},
        {"short header", good.substr(0, 40)},
        {"PE image", "MZ" + good.substr(2)},
        {"32-bit class", with(4, 1, 1)},
        {"big-endian", with(5, 2, 1)},
        {"section table past the end", with(40, 600, 8)},
        {"section count past the end", with(60, 0xFFFF, 2)},
        {"section table offset overflows", with(40, 0xFFFFFFFFFFFFFF00ull, 8)},
        {"segment past the end", with(64 + 32, 5000, 8)},
        {"segment size overflows", with(64 + 32, 0xFFFFFFFFFFFFFFFFull, 8)},
        {"section past the end", with(512 + 64 + 32, 1000, 8)},
        {"section header too small", with(58, 40, 2)},
        {"program header too small", with(54, 20, 2)},
        {"truncated section table", good.substr(0, 600)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::uint64_t end = 0;
        EXPECT_FALSE(imageEnd(row.image, end));
    }
}

// More than 0xFF00 sections: the count is in the null section's size.
TEST(ElfImage, ExtendedSectionCount) {
    std::string image = syntheticElf(0, 100, 512, {{1, 100, 10}}, 640);
    put(image, 60, 0, 2);            // e_shnum = 0
    put(image, 512 + 32, 2, 8);      // real count in section 0
    std::uint64_t end = 0;
    ASSERT_TRUE(imageEnd(image, end));
    EXPECT_EQ(end, 640u);
    put(image, 512 + 32, 3, 8);      // a third header would pass the file
    EXPECT_FALSE(imageEnd(image, end));
}
