#include "config/ElfImage.h"

#include <cstring>

namespace vexal {

namespace {

constexpr unsigned kElfClass64 = 2;
constexpr unsigned kLittleEndian = 1;
constexpr std::uint32_t kNoBits = 8;         // SHT_NOBITS: .bss and the like
constexpr std::uint16_t kExtendedCount = 0;  // the real count is in section 0

std::uint64_t little(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

bool readAt(ByteSource& source, std::uint64_t position, unsigned char* out, std::size_t count) {
    if (position > source.size() || source.size() - position < count) return false;
    source.seek(position);
    std::size_t got = 0;
    while (got < count) {
        const std::size_t n = source.read(out + got, count - got);
        if (n == 0) return false;
        got += n;
    }
    return true;
}

// end = max(end, offset + size), false when the sum passes the source.
bool extend(std::uint64_t& end, std::uint64_t offset, std::uint64_t size, std::uint64_t limit) {
    if (offset > limit || size > limit - offset) return false;
    if (offset + size > end) end = offset + size;
    return true;
}

}  // namespace

bool elfImageEnd(ByteSource& source, std::uint64_t& end) {
    unsigned char header[64];
    if (!readAt(source, 0, header, sizeof header)) return false;
    if (std::memcmp(header, "\x7f" "ELF", 4) != 0 || header[4] != kElfClass64 || header[5] != kLittleEndian) {
        return false;
    }
    const std::uint64_t limit = source.size();
    const std::uint64_t phoff = little(header + 32, 8);
    const std::uint64_t shoff = little(header + 40, 8);
    const std::uint64_t phentsize = little(header + 54, 2);
    const std::uint64_t phnum = little(header + 56, 2);
    const std::uint64_t shentsize = little(header + 58, 2);
    std::uint64_t shnum = little(header + 60, 2);

    end = sizeof header;
    if (phnum != 0) {
        if (phentsize < 56 || !extend(end, phoff, phnum * phentsize, limit)) return false;
        for (std::uint64_t i = 0; i < phnum; ++i) {
            unsigned char entry[56];
            if (!readAt(source, phoff + i * phentsize, entry, sizeof entry)) return false;
            if (!extend(end, little(entry + 8, 8), little(entry + 32, 8), limit)) return false;
        }
    }
    if (shoff == 0) return true;
    if (shentsize < 64) return false;
    unsigned char entry[64];
    if (shnum == kExtendedCount) {
        if (!readAt(source, shoff, entry, sizeof entry)) return false;
        shnum = little(entry + 32, 8);
    }
    // Each section header is at least 64 bytes inside the source, which
    // bounds the loop below.
    if (shnum > limit / shentsize || !extend(end, shoff, shnum * shentsize, limit)) return false;
    for (std::uint64_t i = 0; i < shnum; ++i) {
        if (!readAt(source, shoff + i * shentsize, entry, sizeof entry)) return false;
        if (little(entry + 4, 4) == kNoBits) continue;
        if (!extend(end, little(entry + 24, 8), little(entry + 32, 8), limit)) return false;
    }
    return true;
}

}  // namespace vexal
