#pragma once
#include <cstdint>
#include <string>

#include "config/ByteSource.h"
#include "config/ConfigStore.h"

namespace vexal {

constexpr std::uint32_t kBlockMagic = 0xE8E413D5u;

// File offsets of the two header fields that locate the block: the raw-data
// size and raw-data position of the image's last section (the resources).
// The stub keeps five sections on i686 (PE32: 552/556) and six on x86_64
// (PE32+, 240-byte optional header: 608/612). The layout test checks all
// four stubs against these values.
struct BlockLocator {
    std::uint32_t sizeFieldOffset;
    std::uint32_t positionFieldOffset;
};
constexpr BlockLocator kPe32Locator{552, 556};
constexpr BlockLocator kPe32PlusLocator{608, 612};
constexpr BlockLocator kOwnLocator = sizeof(void*) == 8 ? kPe32PlusLocator : kPe32Locator;

enum class BlockError { None, Magic, ReadInt, ReadString, ReadWString };

// The fixed text shown for a block error ("Internal Error: readInt", ...).
const char* blockErrorText(BlockError error);

struct BlockReadResult {
    BlockError error = BlockError::None;
    // Set for BlockError::ReadInt: the platform error of the failed read.
    unsigned long lastError = 0;
    // Position right after the last wide entry: where included files begin.
    std::uint64_t blockEnd = 0;
};

// Reads the block found through the locator into the store. Later values of
// a repeated id replace earlier ones. Negative lengths and lengths beyond
// what the source still holds are read failures; an odd wide byte length is
// read whole and its last byte dropped.
BlockReadResult readConfigBlock(ByteSource& source, const BlockLocator& locator, ConfigStore& store);

// Reads the block that starts at the source's current position.
BlockReadResult readConfigBlockAt(ByteSource& source, ConfigStore& store);

// The primitive readers; on failure they return false and leave the error.
bool readInt(ByteSource& source, std::int32_t& value);
bool readString(ByteSource& source, std::string& value);
bool readWString(ByteSource& source, std::u16string& value);

// Serialises a store as a block (entries in id order), as the generator
// appends it behind the stub.
std::string writeConfigBlock(const ConfigStore& store);
void appendInt32(std::string& out, std::int32_t value);

}  // namespace vexal
