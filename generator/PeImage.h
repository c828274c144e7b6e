#pragma once
#include <cstdint>
#include <string>

#include "config/ConfigBlock.h"

namespace vexal {
namespace gen {

// One entry of the section table.
constexpr std::uint32_t kSectionHeaderSize = 40;

constexpr std::uint16_t kMachineI386 = 0x14C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;

// The header facts of a Windows executable that the generator needs.
struct PeInfo {
    std::uint16_t machine = 0;
    bool pe32Plus = false;
    std::uint16_t subsystem = 0;
    std::uint16_t sectionCount = 0;
    std::uint32_t optionalHeader = 0;  // file offset of the optional header
    // File offset of the last section's header and its raw-data fields.
    std::uint32_t lastSectionHeader = 0;
    std::uint32_t lastRawSize = 0;
    std::uint32_t lastRawPosition = 0;

    std::uint64_t imageEnd() const { return std::uint64_t(lastRawSize) + lastRawPosition; }
};

// Reads the headers; returns false with a reason when the bytes are not a
// Windows executable this tool understands.
bool readPeInfo(const std::string& bytes, PeInfo& info, std::string& reason);

// "x64" or "x86" (empty for another machine).
std::string archName(std::uint16_t machine);
std::uint16_t machineOfArch(const std::string& arch);
// "gui", "console" or "other (n)".
std::string subsystemName(std::uint16_t subsystem);

// The locator that the launcher of this machine uses.
BlockLocator locatorFor(std::uint16_t machine);

// True when the launcher's fixed header offsets are the raw-data fields of
// the image's last section, so a block appended at imageEnd() is found.
bool locatorFitsLastSection(const PeInfo& info);

}  // namespace gen
}  // namespace vexal
