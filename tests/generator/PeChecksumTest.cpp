// The streamed PE checksum: whatever pieces the bytes arrive in, and wherever
// the checksum field lies, it equals the byte-by-byte end-around-carry sum.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "generator/PeResources.h"

namespace vexal::gen {
namespace {

// The plain definition: bytes as little-endian 16-bit words, carries folded
// back at every step, the four field bytes counted as zero, the length added.
std::uint32_t reference(const std::string& bytes, std::uint64_t field) {
    std::uint64_t sum = 0;
    for (std::uint64_t i = 0; i < bytes.size(); ++i) {
        if (i >= field && i < field + 4) continue;
        const std::uint32_t byte = static_cast<unsigned char>(bytes[i]);
        sum += i % 2 == 0 ? byte : byte << 8;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint32_t>(((sum & 0xFFFF) + (sum >> 16)) + bytes.size());
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

TEST(PeChecksum, PiecesAndFieldPositionsGiveTheByteWiseSum) {
    struct Row {
        const char* name;
        std::string bytes;
        std::uint64_t field;
        std::vector<std::size_t> pieces;  // sizes, repeated until the bytes are used up
    } rows[] = {
        {"whole, field in the header", randomBytes(70000, 1), 0xD8, {70000}},
        {"odd pieces across the field", randomBytes(5000, 2), 0xD8, {3, 7, 1, 0x100}},
        {"one byte at a time", randomBytes(600, 3), 0x58, {1}},
        {"field at an odd offset", randomBytes(4096, 4), 0x59, {4096}},
        {"field at the very start", randomBytes(1000, 5), 0, {10, 1}},
        {"field beyond the end", randomBytes(777, 6), 100000, {64}},
        {"piece ends inside the field", randomBytes(300, 7), 0x10, {0x12, 5}},
        {"all 0xFF (carries at every word)", std::string(65537, '\xFF'), 0x40, {65536}},
        {"all zero", std::string(1000, '\0'), 0x40, {333}},
        {"empty", std::string(), 0x40, {1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PeChecksum checksum(static_cast<std::uint32_t>(row.field));
        std::size_t at = 0, piece = 0;
        while (at < row.bytes.size()) {
            const std::size_t n = std::min(row.pieces[piece++ % row.pieces.size()], row.bytes.size() - at);
            checksum.add(row.bytes.data() + at, n);
            at += n;
        }
        EXPECT_EQ(checksum.value(), reference(row.bytes, row.field));
    }
}

}  // namespace
}  // namespace vexal::gen
