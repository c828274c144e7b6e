#include "generator/PeImage.h"

namespace vexal {
namespace gen {

namespace {

bool read16(const std::string& bytes, std::uint64_t offset, std::uint16_t& value) {
    if (offset + 2 > bytes.size()) return false;
    value = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                       static_cast<unsigned char>(bytes[offset + 1]) << 8);
    return true;
}

bool read32(const std::string& bytes, std::uint64_t offset, std::uint32_t& value) {
    std::uint16_t low = 0, high = 0;
    if (!read16(bytes, offset, low) || !read16(bytes, offset + 2, high)) return false;
    value = low | static_cast<std::uint32_t>(high) << 16;
    return true;
}

// Offsets inside the headers.
constexpr std::uint32_t kPeOffsetField = 0x3C;
constexpr std::uint32_t kFileHeaderSize = 20;
constexpr std::uint32_t kSubsystemInOptionalHeader = 68;
constexpr std::uint32_t kRawSizeInSection = 16;
constexpr std::uint32_t kRawPositionInSection = 20;

}  // namespace

bool readPeInfo(const std::string& bytes, PeInfo& info, std::string& reason) {
    std::uint32_t peOffset = 0;
    if (bytes.size() < 64 || bytes.compare(0, 2, "MZ") != 0 || !read32(bytes, kPeOffsetField, peOffset)) {
        reason = "not a Windows executable (no MZ header)";
        return false;
    }
    if (std::uint64_t(peOffset) + 4 + kFileHeaderSize > bytes.size() || bytes.compare(peOffset, 4, std::string("PE\0\0", 4)) != 0) {
        reason = "not a Windows executable (no PE signature)";
        return false;
    }
    std::uint64_t fileHeader = std::uint64_t(peOffset) + 4;
    std::uint16_t optionalSize = 0, magic = 0;
    read16(bytes, fileHeader, info.machine);
    read16(bytes, fileHeader + 2, info.sectionCount);
    read16(bytes, fileHeader + 16, optionalSize);
    std::uint64_t optional = fileHeader + kFileHeaderSize;
    if (!read16(bytes, optional, magic) || (magic != 0x10B && magic != 0x20B) ||
        !read16(bytes, optional + kSubsystemInOptionalHeader, info.subsystem)) {
        reason = "the executable's optional header is missing or unknown";
        return false;
    }
    info.pe32Plus = magic == 0x20B;
    info.optionalHeader = static_cast<std::uint32_t>(optional);
    if (info.sectionCount == 0) {
        reason = "the executable has no sections";
        return false;
    }
    std::uint64_t last = optional + optionalSize + std::uint64_t(kSectionHeaderSize) * (info.sectionCount - 1);
    if (!read32(bytes, last + kRawSizeInSection, info.lastRawSize) ||
        !read32(bytes, last + kRawPositionInSection, info.lastRawPosition)) {
        reason = "the executable's section table is cut short";
        return false;
    }
    info.lastSectionHeader = static_cast<std::uint32_t>(last);
    return true;
}

std::string archName(std::uint16_t machine) {
    if (machine == kMachineAmd64) return "x64";
    if (machine == kMachineI386) return "x86";
    return "";
}

std::uint16_t machineOfArch(const std::string& arch) { return arch == "x86" ? kMachineI386 : kMachineAmd64; }

std::string subsystemName(std::uint16_t subsystem) {
    if (subsystem == 2) return "gui";
    if (subsystem == 3) return "console";
    return "other (" + std::to_string(subsystem) + ")";
}

BlockLocator locatorFor(std::uint16_t machine) {
    return machine == kMachineAmd64 ? kPe32PlusLocator : kPe32Locator;
}

bool locatorFitsLastSection(const PeInfo& info) {
    BlockLocator locator = locatorFor(info.machine);
    return locator.sizeFieldOffset == info.lastSectionHeader + kRawSizeInSection &&
           locator.positionFieldOffset == info.lastSectionHeader + kRawPositionInSection;
}

}  // namespace gen
}  // namespace vexal
