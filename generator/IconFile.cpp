// Icons: .ico files in, RT_ICON and RT_GROUP_ICON data out.
#include "generator/Bytes.h"
#include "generator/ResourceFiles.h"

namespace vexal {
namespace gen {

namespace {

constexpr std::size_t kIcoHeader = 6;
constexpr std::size_t kIcoEntry = 16;
constexpr std::size_t kGroupEntry = 14;
const std::string kPngSignature("\x89PNG\r\n\x1a\n", 8);

}  // namespace

std::vector<IconImage> parseIcoFile(const std::string& bytes) {
    if (bytes.size() < kIcoHeader || get16(bytes, 0) != 0 || get16(bytes, 2) != 1) {
        throw ResourceError("not an icon file (no icon header)");
    }
    std::size_t count = get16(bytes, 4);
    if (count == 0) throw ResourceError("the icon file holds no image");
    if (kIcoHeader + count * kIcoEntry > bytes.size()) throw ResourceError("the icon file's directory is cut short");
    std::vector<IconImage> images;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t entry = kIcoHeader + i * kIcoEntry;
        std::string which = "image " + std::to_string(i + 1);
        std::uint32_t size = get32(bytes, entry + 8), offset = get32(bytes, entry + 12);
        if (size == 0 || offset > bytes.size() || size > bytes.size() - offset) {
            throw ResourceError(which + " lies outside the file");
        }
        IconImage image;
        image.width = static_cast<std::uint8_t>(bytes[entry]);
        image.height = static_cast<std::uint8_t>(bytes[entry + 1]);
        image.colorCount = static_cast<std::uint8_t>(bytes[entry + 2]);
        image.planes = get16(bytes, entry + 4);
        image.bitCount = get16(bytes, entry + 6);
        image.data = bytes.substr(offset, size);
        bool png = image.data.compare(0, kPngSignature.size(), kPngSignature) == 0;
        bool dib = image.data.size() >= 40 && get32(image.data, 0) == 40;
        if (!png && !dib) throw ResourceError(which + " is neither a bitmap nor a PNG image");
        // Some writers leave these fields 0; the group entry needs them.
        if (image.planes == 0) image.planes = 1;
        if (image.bitCount == 0) image.bitCount = dib ? get16(image.data, 14) : 32;
        images.push_back(std::move(image));
    }
    return images;
}

std::string iconGroupData(const std::vector<IconImage>& images, std::uint16_t firstId) {
    std::string out;
    append16(out, 0);
    append16(out, 1);
    append16(out, static_cast<std::uint16_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        out.push_back(static_cast<char>(image.width));
        out.push_back(static_cast<char>(image.height));
        out.push_back(static_cast<char>(image.colorCount));
        out.push_back('\0');
        append16(out, image.planes);
        append16(out, image.bitCount);
        append32(out, static_cast<std::uint32_t>(image.data.size()));
        append16(out, static_cast<std::uint16_t>(firstId + i));
    }
    return out;
}

bool parseIconGroup(const std::string& data, std::vector<IconGroupEntry>& entries) {
    entries.clear();
    if (data.size() < kIcoHeader || get16(data, 2) != 1) return false;
    std::size_t count = get16(data, 4);
    if (kIcoHeader + count * kGroupEntry > data.size()) return false;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t at = kIcoHeader + i * kGroupEntry;
        IconGroupEntry entry;
        entry.width = static_cast<unsigned char>(data[at]) ? static_cast<unsigned char>(data[at]) : 256;
        entry.height = static_cast<unsigned char>(data[at + 1]) ? static_cast<unsigned char>(data[at + 1]) : 256;
        entry.bitCount = get16(data, at + 6);
        entry.bytes = get32(data, at + 8);
        entry.id = get16(data, at + 12);
        entries.push_back(entry);
    }
    return true;
}

}  // namespace gen
}  // namespace vexal
