#pragma once
#include <cstdint>
#include <string>

#include "config/ByteSource.h"

namespace vexal {

// The machine that an executable image or library is built for, as its
// header says: a PE image's file-header machine field, or an ELF image's
// e_machine with its class (32 or 64 bits).
enum class ImageFormat { Pe, Elf };

struct ImageArchitecture {
    ImageFormat format = ImageFormat::Pe;
    std::uint16_t machine = 0;
    std::uint8_t elfClass = 0;  // ELF: 1 for 32-bit, 2 for 64-bit; 0 for PE
};

constexpr std::uint16_t kPeMachineI386 = 0x14C;
constexpr std::uint16_t kPeMachineAmd64 = 0x8664;
constexpr std::uint16_t kPeMachineArm64 = 0xAA64;
constexpr std::uint16_t kElfMachineI386 = 3;
constexpr std::uint16_t kElfMachineX86_64 = 62;
constexpr std::uint16_t kElfMachineAarch64 = 183;
constexpr std::uint8_t kElfClass32 = 1;
constexpr std::uint8_t kElfClass64 = 2;

// Reads the architecture from the start of an image: "MZ" with the PE
// signature at the offset that the DOS header names, or the ELF magic (the
// machine field read in the byte order the image declares). False for any
// other content and for a header cut short.
bool readImageArchitecture(ByteSource& source, ImageArchitecture& architecture);

// True when a process of the launcher's architecture can load a library of
// the image's: same format, same machine, and for ELF the same class.
bool loadableBy(const ImageArchitecture& image, const ImageArchitecture& launcher);

// The log line for a runtime whose file at path a launcher of launcherBits
// (32 or 64) cannot load: "<path> is not a 64-bit runtime".
std::string wrongArchitectureLine(const std::string& path, int launcherBits);

}  // namespace vexal
