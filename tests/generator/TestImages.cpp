#include "TestImages.h"

namespace vexal {
namespace testing {

namespace {

void add16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8 & 0xFF));
}
void add32(std::string& out, std::uint32_t value) {
    add16(out, value & 0xFFFF);
    add16(out, value >> 16);
}

std::string infoHeader(int width, int height, int bitCount, std::uint32_t imageSize) {
    std::string out;
    add32(out, 40);
    add32(out, static_cast<std::uint32_t>(width));
    add32(out, static_cast<std::uint32_t>(height));
    add16(out, 1);
    add16(out, static_cast<std::uint32_t>(bitCount));
    add32(out, 0);  // uncompressed
    add32(out, imageSize);
    add32(out, 2835);
    add32(out, 2835);
    add32(out, 0);
    add32(out, 0);
    return out;
}

std::uint32_t stride(int width, int bitCount) { return static_cast<std::uint32_t>((width * bitCount + 31) / 32 * 4); }

std::string pattern(std::size_t size, int seed) {
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>(i * 31 + seed);
    return out;
}

}  // namespace

std::string iconDib(const IconSpec& spec) {
    std::uint32_t colour = stride(spec.size, spec.bitCount) * spec.size;
    std::uint32_t mask = stride(spec.size, 1) * spec.size;
    std::string out = infoHeader(spec.size, spec.size * 2, spec.bitCount, colour + mask);
    if (spec.bitCount <= 8) out += pattern(4u << spec.bitCount, 3);
    return out + pattern(colour, spec.size) + std::string(mask, '\0');
}

std::string icoFile(const std::vector<IconSpec>& specs) {
    std::string out;
    add16(out, 0);
    add16(out, 1);
    add16(out, static_cast<std::uint32_t>(specs.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(specs.size());
    std::string images;
    for (const auto& spec : specs) {
        std::string dib = iconDib(spec);
        out.push_back(static_cast<char>(spec.size == 256 ? 0 : spec.size));
        out.push_back(static_cast<char>(spec.size == 256 ? 0 : spec.size));
        out.push_back(0);
        out.push_back(0);
        add16(out, 1);
        add16(out, static_cast<std::uint32_t>(spec.bitCount));
        add32(out, static_cast<std::uint32_t>(dib.size()));
        add32(out, offset);
        offset += static_cast<std::uint32_t>(dib.size());
        images += dib;
    }
    return out + images;
}

std::string bmpFile(int width, int height, int bitCount, std::uint32_t gap) {
    std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    std::uint32_t pixels = stride(width, bitCount) * rows;
    std::string table = bitCount <= 8 ? pattern(4u << bitCount, 5) : "";
    std::uint32_t pixelsAt = 14 + 40 + static_cast<std::uint32_t>(table.size()) + gap;
    std::string out = "BM";
    add32(out, pixelsAt + pixels);
    add32(out, 0);
    add32(out, pixelsAt);
    out += infoHeader(width, height, bitCount, pixels);
    out += table;
    out += std::string(gap, '\x77');
    return out + pattern(pixels, 9);
}

}  // namespace testing
}  // namespace vexal
