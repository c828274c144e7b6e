// Bitmaps: .bmp files in, RT_BITMAP data (a packed DIB) out.
#include <cstdint>
#include <cstdlib>

#include "generator/Bytes.h"
#include "generator/ResourceFiles.h"

namespace vexal {
namespace gen {

namespace {

constexpr std::uint32_t kFileHeader = 14;
constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kInfoHeader = 40;
enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kJpeg = 4, kPng = 5, kAlphaBitfields = 6 };

std::int32_t signed32(const std::string& bytes, std::size_t at) { return static_cast<std::int32_t>(get32(bytes, at)); }

}  // namespace

bool dibSize(const std::string& dib, int& width, int& height) {
    if (dib.size() < 4) return false;
    std::uint32_t header = get32(dib, 0);
    if (header == kCoreHeader && dib.size() >= kCoreHeader) {
        width = get16(dib, 4);
        height = get16(dib, 6);
        return true;
    }
    if (header < kInfoHeader || dib.size() < header) return false;
    // A top-down bitmap stores its height negated; the most negative value
    // has no positive counterpart.
    const std::int32_t rawHeight = signed32(dib, 8);
    if (rawHeight == INT32_MIN) return false;
    width = signed32(dib, 4);
    height = std::abs(rawHeight);
    return true;
}

Bitmap parseBmpFile(const std::string& bytes) {
    if (bytes.size() < kFileHeader + kCoreHeader || bytes.compare(0, 2, "BM") != 0) {
        throw ResourceError("not a bitmap file (no BM header)");
    }
    const std::uint32_t pixelsAt = get32(bytes, 10);
    const std::uint32_t header = get32(bytes, kFileHeader);
    const bool core = header == kCoreHeader;
    if (!core && (header < kInfoHeader || header > bytes.size() - kFileHeader)) {
        throw ResourceError("the bitmap header is of an unknown size (" + std::to_string(header) + " bytes)");
    }
    const std::size_t h = kFileHeader;
    Bitmap bitmap;
    std::int64_t rawHeight = core ? get16(bytes, h + 6) : signed32(bytes, h + 8);
    std::int64_t width = core ? get16(bytes, h + 4) : signed32(bytes, h + 4);
    std::uint16_t bitCount = get16(bytes, h + (core ? 10 : 14));
    std::uint32_t compression = core ? kRgb : get32(bytes, h + 16);
    std::uint32_t colorsUsed = core ? 0 : get32(bytes, h + 32);
    std::uint32_t imageSize = core ? 0 : get32(bytes, h + 20);
    std::int64_t height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (width <= 0 || height == 0 || width > 65535 || height > 65535) {
        throw ResourceError("the bitmap has an impossible size (" + std::to_string(width) + " x " + std::to_string(rawHeight) + ")");
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
        throw ResourceError("the bitmap has an unknown colour depth (" + std::to_string(bitCount) + " bits)");
    }
    if (compression == kJpeg || compression == kPng || compression > kAlphaBitfields) {
        throw ResourceError("the bitmap's compression cannot be loaded as a Windows bitmap resource");
    }
    std::uint64_t masks = 0;
    if (header == kInfoHeader && compression == kBitfields) masks = 12;
    if (header == kInfoHeader && compression == kAlphaBitfields) masks = 16;
    std::uint64_t colours = colorsUsed ? colorsUsed : (bitCount <= 8 ? 1u << bitCount : 0);
    std::uint64_t tableEnd = kFileHeader + header + masks + colours * (core ? 3 : 4);
    if (tableEnd > bytes.size()) throw ResourceError("the bitmap's colour table is cut short");
    if (pixelsAt < tableEnd || pixelsAt > bytes.size()) throw ResourceError("the bitmap's pixel data lie outside the file");
    std::uint64_t pixelBytes;
    if (compression == kRle8 || compression == kRle4) {
        pixelBytes = imageSize ? imageSize : bytes.size() - pixelsAt;
    } else {
        pixelBytes = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4 * static_cast<std::uint64_t>(height);
    }
    if (pixelBytes > bytes.size() - pixelsAt) throw ResourceError("the bitmap's pixel data are cut short");
    bitmap.dib = bytes.substr(kFileHeader, tableEnd - kFileHeader) + bytes.substr(pixelsAt, pixelBytes);
    bitmap.width = static_cast<int>(width);
    bitmap.height = static_cast<int>(height);
    return bitmap;
}

}  // namespace gen
}  // namespace vexal
