#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace vexal {

// SHA-256, fed piece by piece. The generator names the included files of an
// executable by it (their content-addressed place in the per-user cache); the
// launcher names its class-data archives by it.
class Sha256 {
public:
    Sha256();
    void update(const void* data, std::size_t size);
    void update(const std::string& text) { update(text.data(), text.size()); }
    // The digest as 64 lower-case hexadecimal digits; the object is spent.
    std::string hexDigest();

private:
    void block(const unsigned char* data);

    std::uint32_t state_[8];
    unsigned char buffer_[64];
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;  // bytes fed so far
};

// The hexadecimal SHA-256 of text.
std::string sha256Hex(const std::string& text);

// True for 64 lower-case hexadecimal digits, the form hexDigest gives.
bool isSha256Hex(const std::string& text);

}  // namespace vexal
