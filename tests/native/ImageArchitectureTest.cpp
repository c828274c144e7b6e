#include <gtest/gtest.h>

#include <string>

#include "windows/WinLoader/ImageArchitecture.h"

using namespace vexal;

namespace {

void put(std::string& image, std::size_t at, std::uint32_t value, int count) {
    if (image.size() < at + count) image.resize(at + count, '\0');
    for (int i = 0; i < count; ++i) image[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A DOS header that points at a PE signature at peOffset, and the machine
// field behind it; size bytes in all.
std::string peImage(std::uint16_t machine, std::uint32_t peOffset = 0x80, std::size_t size = 0x200) {
    std::string image(size, '\0');
    image.replace(0, 2, "MZ");
    put(image, 0x3C, peOffset, 4);
    if (std::uint64_t{peOffset} + 6 <= size) {
        image.replace(peOffset, 4, std::string("PE\0\0", 4));
        put(image, peOffset + 4, machine, 2);
    }
    return image;
}

std::string elfImage(std::uint8_t elfClass, std::uint8_t data, std::uint16_t machine) {
    std::string image(64, '\0');
    image.replace(0, 4, "\x7f" "ELF");
    image[4] = static_cast<char>(elfClass);
    image[5] = static_cast<char>(data);
    if (data == 2) {
        image[18] = static_cast<char>(machine >> 8);
        image[19] = static_cast<char>(machine & 0xFF);
    } else {
        put(image, 18, machine, 2);
    }
    return image;
}

bool read(const std::string& bytes, ImageArchitecture& architecture) {
    MemorySource source(bytes);
    return readImageArchitecture(source, architecture);
}

}  // namespace

TEST(ImageArchitecture, HeadersThatAreRead) {
    const struct {
        const char* name;
        std::string bytes;
        ImageFormat format;
        std::uint16_t machine;
        std::uint8_t elfClass;
    } rows[] = {
        {"PE x64", peImage(kPeMachineAmd64), ImageFormat::Pe, kPeMachineAmd64, 0},
        {"PE i386", peImage(kPeMachineI386), ImageFormat::Pe, kPeMachineI386, 0},
        {"PE ARM64", peImage(kPeMachineArm64), ImageFormat::Pe, kPeMachineArm64, 0},
        {"PE header at the file's last six bytes", peImage(kPeMachineI386, 0x1FA), ImageFormat::Pe, kPeMachineI386, 0},
        {"ELF x86_64", elfImage(kElfClass64, 1, kElfMachineX86_64), ImageFormat::Elf, kElfMachineX86_64, kElfClass64},
        {"ELF AArch64", elfImage(kElfClass64, 1, kElfMachineAarch64), ImageFormat::Elf, kElfMachineAarch64,
         kElfClass64},
        {"ELF i386", elfImage(kElfClass32, 1, kElfMachineI386), ImageFormat::Elf, kElfMachineI386, kElfClass32},
        {"ELF x32 (x86_64 machine, 32-bit class)", elfImage(kElfClass32, 1, kElfMachineX86_64), ImageFormat::Elf,
         kElfMachineX86_64, kElfClass32},
        {"ELF big-endian s390x", elfImage(kElfClass64, 2, 22), ImageFormat::Elf, 22, kElfClass64},
        {"ELF header of exactly 20 bytes", elfImage(kElfClass64, 1, kElfMachineX86_64).substr(0, 20), ImageFormat::Elf,
         kElfMachineX86_64, kElfClass64},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ImageArchitecture found;
        ASSERT_TRUE(read(row.bytes, found));
        EXPECT_EQ(found.format, row.format);
        EXPECT_EQ(found.machine, row.machine);
        EXPECT_EQ(found.elfClass, row.elfClass);
    }
}

TEST(ImageArchitecture, AnythingElseIsNotRead) {
    const struct {
        const char* name;
        std::string bytes;
    } rows[] = {
        {"empty", ""},
        {"MZ alone", "MZ"},
        {"DOS header cut short", peImage(kPeMachineAmd64).substr(0, 63)},
        {"PE offset behind the end", peImage(kPeMachineAmd64, 0x1000)},
        {"PE offset of 2^32-1", peImage(kPeMachineAmd64, 0xFFFFFFFFu)},
        {"machine field cut off", peImage(kPeMachineAmd64, 0x1FB)},
        {"no PE signature", [] {
             std::string image = peImage(kPeMachineAmd64);
             image[0x81] = 'X';
             return image;
         }()},
        {"ELF cut before the machine", elfImage(kElfClass64, 1, kElfMachineX86_64).substr(0, 19)},
        {"a shell script", "#!/bin/sh\nexec java \"$@\"\n"},
        {"text", "java version \"1.8.0\"\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ImageArchitecture found;
        EXPECT_FALSE(read(row.bytes, found));
    }
}

// A launcher loads only its own machine: the 64-bit Windows launcher no
// 32-bit and no ARM64 runtime, the 32-bit one no 64-bit runtime, the Linux
// one only x86_64 code of the 64-bit class.
TEST(ImageArchitecture, WhatALauncherCanLoad) {
    const ImageArchitecture x64{ImageFormat::Pe, kPeMachineAmd64, 0};
    const ImageArchitecture x86{ImageFormat::Pe, kPeMachineI386, 0};
    const ImageArchitecture arm64{ImageFormat::Pe, kPeMachineArm64, 0};
    const ImageArchitecture linux64{ImageFormat::Elf, kElfMachineX86_64, kElfClass64};
    const ImageArchitecture linuxX32{ImageFormat::Elf, kElfMachineX86_64, kElfClass32};
    const ImageArchitecture linuxArm{ImageFormat::Elf, kElfMachineAarch64, kElfClass64};
    const struct {
        const char* name;
        ImageArchitecture image;
        ImageArchitecture launcher;
        bool loadable;
    } rows[] = {
        {"x64 on x64", x64, x64, true},       {"x86 on x64", x86, x64, false},
        {"ARM64 on x64", arm64, x64, false},  {"x86 on x86", x86, x86, true},
        {"x64 on x86", x64, x86, false},      {"Linux x86_64", linux64, linux64, true},
        {"Linux x32", linuxX32, linux64, false}, {"Linux AArch64", linuxArm, linux64, false},
        {"an ELF library for Windows", linux64, x64, false},
    };
    for (const auto& row : rows) EXPECT_EQ(loadableBy(row.image, row.launcher), row.loadable) << row.name;
}

TEST(ImageArchitecture, TheLogLineNamesTheFileAndTheLauncherWidth) {
    EXPECT_EQ(wrongArchitectureLine("c:\\jre32\\bin\\client\\jvm.dll", 64),
              "c:\\jre32\\bin\\client\\jvm.dll is not a 64-bit runtime");
    EXPECT_EQ(wrongArchitectureLine("c:\\jre64\\bin\\server\\jvm.dll", 32),
              "c:\\jre64\\bin\\server\\jvm.dll is not a 32-bit runtime");
}
