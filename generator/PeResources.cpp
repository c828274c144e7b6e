#include "generator/PeResources.h"

#include <algorithm>

#include "generator/Bytes.h"
#include "generator/ExeWriter.h"
#include "generator/PeImage.h"

namespace vexal {
namespace gen {

namespace {

constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kSecurityDirectory = 4;
constexpr std::uint32_t kInitializedData = 0x40;

// The header fields this file touches, as file offsets.
struct Layout {
    PeInfo pe;
    std::uint32_t sectionAlignment = 0, fileAlignment = 0;
    std::uint32_t sizeOfInitializedData = 0, sizeOfImage = 0, checksum = 0;
    std::uint32_t directoryCount = 0, directories = 0;
    std::uint32_t section = 0;  // the last section's header

    std::uint32_t directory(std::uint32_t index) const { return directories + 8 * index; }
};

bool readLayout(const std::string& image, Layout& layout, std::string& reason) {
    if (!readPeInfo(image, layout.pe, reason)) return false;
    const std::uint32_t o = layout.pe.optionalHeader;
    layout.sizeOfInitializedData = o + 8;
    layout.sectionAlignment = o + 32;
    layout.fileAlignment = o + 36;
    layout.sizeOfImage = o + 56;
    layout.checksum = o + 64;
    layout.directoryCount = o + (layout.pe.pe32Plus ? 108 : 92);
    layout.directories = layout.directoryCount + 4;
    layout.section = layout.pe.lastSectionHeader;
    if (std::uint64_t(layout.section) + kSectionHeaderSize > image.size() ||
        std::uint64_t(layout.directories) + 8 * 16 > image.size()) {
        reason = "the executable's headers are cut short";
        return false;
    }
    return true;
}

bool powerOfTwo(std::uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

bool hasDirectory(const std::string& image, const Layout& layout, std::uint32_t index) {
    return get32(image, layout.directoryCount) > index;
}

// The last section's data are cut off and written anew, so they must begin
// behind the section table and behind every other section's data: an image
// whose last section overlaps them would lose or garble what they hold.
bool lastSectionDataComeLast(const std::string& image, const Layout& layout) {
    const std::uint64_t tableEnd = std::uint64_t(layout.section) + kSectionHeaderSize;
    if (layout.pe.lastRawPosition < tableEnd) return false;
    const std::uint32_t first = layout.section - kSectionHeaderSize * (layout.pe.sectionCount - 1u);
    for (std::uint32_t header = first; header < layout.section; header += kSectionHeaderSize) {
        const std::uint32_t rawSize = get32(image, header + 16), raw = get32(image, header + 20);
        if (rawSize != 0 && std::uint64_t(raw) + rawSize > layout.pe.lastRawPosition) return false;
    }
    return true;
}

}  // namespace

std::string replaceResources(const std::string& image, const ResourceTree& tree, const std::string& imageName) {
    Layout layout;
    std::string reason;
    if (!readLayout(image, layout, reason)) throw BuildError(imageName + ": " + reason);
    if (!hasDirectory(image, layout, kResourceDirectory)) throw BuildError(imageName + ": the executable has no resource directory entry");
    const std::uint32_t rva = get32(image, layout.section + 12);
    const std::uint32_t resourceRva = get32(image, layout.directory(kResourceDirectory));
    if (resourceRva != rva) {
        throw BuildError(imageName + ": the last section is not the resource section, so its resources cannot be replaced");
    }
    if (layout.pe.imageEnd() != image.size()) {
        throw BuildError(imageName + ": something lies behind the resource section");
    }
    if (!lastSectionDataComeLast(image, layout)) {
        throw BuildError(imageName + ": the resource section's data do not come after the headers and every other "
                                     "section's data");
    }
    const std::uint32_t fileAlignment = get32(image, layout.fileAlignment);
    const std::uint32_t sectionAlignment = get32(image, layout.sectionAlignment);
    if (fileAlignment == 0 || sectionAlignment == 0) throw BuildError(imageName + ": the executable's alignments are zero");
    // The raw data are padded to the file alignment: a power of two of at
    // most 64 KiB, and the section alignment a power of two no smaller. Any
    // other value would pad the resources to gigabytes.
    if (!powerOfTwo(fileAlignment) || fileAlignment > 0x10000 || !powerOfTwo(sectionAlignment) ||
        sectionAlignment < fileAlignment) {
        throw BuildError(imageName + ": the executable's alignments are not powers of two with the file alignment "
                                     "at most 64 KiB and no larger than the section alignment");
    }

    std::string data = writeResourceSection(tree, rva);
    if (std::uint64_t(rva) + data.size() + sectionAlignment > 0xFFFFFFFFu) {
        throw BuildError(imageName + ": the resources would reach past the 4 GiB the image can address");
    }
    const std::uint32_t virtualSize = static_cast<std::uint32_t>(data.size());
    const std::uint32_t rawSize = align(virtualSize, fileAlignment);
    data.resize(rawSize, '\0');

    std::string out = image.substr(0, layout.pe.lastRawPosition) + data;
    put32(out, layout.section + 8, virtualSize);
    put32(out, layout.section + 16, rawSize);
    put32(out, layout.sizeOfImage, align(rva + virtualSize, sectionAlignment));
    put32(out, layout.directory(kResourceDirectory), rva);
    put32(out, layout.directory(kResourceDirectory) + 4, virtualSize);
    if (get32(image, layout.section + 36) & kInitializedData) {
        std::uint32_t initialized = get32(image, layout.sizeOfInitializedData);
        put32(out, layout.sizeOfInitializedData, initialized - layout.pe.lastRawSize + rawSize);
    }
    return out;
}

bool readResources(const std::string& image, ResourceTree& tree, std::string& reason) {
    tree.clear();
    Layout layout;
    if (!readLayout(image, layout, reason)) return false;
    if (!hasDirectory(image, layout, kResourceDirectory)) return true;
    const std::uint32_t resourceRva = get32(image, layout.directory(kResourceDirectory));
    if (resourceRva == 0) return true;
    // Find the section that holds the directory and read from its raw data.
    std::uint32_t first = layout.section - kSectionHeaderSize * (layout.pe.sectionCount - 1u);
    for (std::uint32_t i = 0; i < layout.pe.sectionCount; ++i) {
        std::uint32_t header = first + i * kSectionHeaderSize;
        std::uint32_t va = get32(image, header + 12), rawSize = get32(image, header + 16), raw = get32(image, header + 20);
        if (resourceRva < va || resourceRva - va >= rawSize) continue;
        if (std::uint64_t(raw) + rawSize > image.size()) {
            reason = "the resource section is cut short";
            return false;
        }
        std::uint32_t skip = resourceRva - va;
        return readResourceSection(image.substr(raw + skip, rawSize - skip), resourceRva, tree, reason);
    }
    reason = "no section holds the resource directory";
    return false;
}

void PeChecksum::add(const char* bytes, std::size_t count) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t i = 0;
    while (i < count) {
        // Whole 16-bit words away from the checksum field: summed in 64 bits
        // and folded once (an end-around-carry sum folds to the same value
        // whenever the carries are added back), so the included files, most
        // of an executable, cost one addition per two bytes.
        if (position_ % 2 == 0 && (position_ + 1 < skipFrom_ || position_ >= skipFrom_ + 4)) {
            std::uint64_t run = count - i;
            if (position_ < skipFrom_) run = std::min<std::uint64_t>(run, skipFrom_ - position_);
            run &= ~std::uint64_t{1};
            if (run >= 2) {
                std::uint64_t words = 0;
                for (std::uint64_t k = 0; k < run; k += 2) words += data[i + k] | (std::uint32_t{data[i + k + 1]} << 8);
                while (words >> 16) words = (words & 0xFFFF) + (words >> 16);
                sum_ += words;
                sum_ = (sum_ & 0xFFFF) + (sum_ >> 16);
                i += run;
                position_ += run;
                continue;
            }
        }
        const std::uint32_t byte = data[i];
        if (position_ < skipFrom_ || position_ >= skipFrom_ + 4) {  // the checksum field counts as zero
            sum_ += position_ % 2 == 0 ? byte : byte << 8;
            sum_ = (sum_ & 0xFFFF) + (sum_ >> 16);
        }
        ++i;
        ++position_;
    }
}

std::uint32_t PeChecksum::value() const {
    std::uint64_t sum = (sum_ & 0xFFFF) + (sum_ >> 16);
    return static_cast<std::uint32_t>(sum + position_);
}

std::uint32_t peChecksumOffset(const std::string& image) {
    Layout layout;
    std::string reason;
    return readLayout(image, layout, reason) ? layout.checksum : 0;
}

std::uint32_t peChecksum(const std::string& file) {
    Layout layout;
    std::string reason;
    if (!readLayout(file, layout, reason)) return 0;
    PeChecksum checksum(layout.checksum);
    checksum.add(file.data(), file.size());
    return checksum.value();
}

void storePeChecksum(std::string& file) {
    Layout layout;
    std::string reason;
    if (!readLayout(file, layout, reason)) return;
    put32(file, layout.checksum, peChecksum(file));
}

void securityDirectory(const std::string& image, std::uint32_t& position, std::uint32_t& size) {
    position = size = 0;
    Layout layout;
    std::string reason;
    if (!readLayout(image, layout, reason) || !hasDirectory(image, layout, kSecurityDirectory)) return;
    position = get32(image, layout.directory(kSecurityDirectory));
    size = get32(image, layout.directory(kSecurityDirectory) + 4);
}

}  // namespace gen
}  // namespace vexal
