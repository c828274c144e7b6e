#include "windows/WinLoader/ImageArchitecture.h"

#include <cstring>

namespace vexal {

namespace {

constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kPeOffsetField = 0x3C;
constexpr std::uint64_t kElfMachineField = 18;
constexpr unsigned char kElfBigEndian = 2;

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

std::uint32_t little(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

bool readPe(ByteSource& source, ImageArchitecture& architecture) {
    unsigned char dos[kDosHeaderSize];
    if (!readAt(source, 0, dos, sizeof dos)) return false;
    const std::uint32_t peOffset = little(dos + kPeOffsetField, 4);
    unsigned char signature[6];
    if (!readAt(source, peOffset, signature, sizeof signature)) return false;
    if (std::memcmp(signature, "PE\0\0", 4) != 0) return false;
    architecture = ImageArchitecture{ImageFormat::Pe, static_cast<std::uint16_t>(little(signature + 4, 2)), 0};
    return true;
}

bool readElf(ByteSource& source, ImageArchitecture& architecture) {
    unsigned char header[kElfMachineField + 2];
    if (!readAt(source, 0, header, sizeof header)) return false;
    const unsigned char* machine = header + kElfMachineField;
    const std::uint16_t value = header[5] == kElfBigEndian ? static_cast<std::uint16_t>(machine[0] << 8 | machine[1])
                                                           : static_cast<std::uint16_t>(little(machine, 2));
    architecture = ImageArchitecture{ImageFormat::Elf, value, header[4]};
    return true;
}

}  // namespace

bool readImageArchitecture(ByteSource& source, ImageArchitecture& architecture) {
    unsigned char magic[4];
    if (!readAt(source, 0, magic, sizeof magic)) return false;
    if (magic[0] == 'M' && magic[1] == 'Z') return readPe(source, architecture);
    if (std::memcmp(magic, "\x7f" "ELF", 4) == 0) return readElf(source, architecture);
    return false;
}

bool loadableBy(const ImageArchitecture& image, const ImageArchitecture& launcher) {
    return image.format == launcher.format && image.machine == launcher.machine &&
           image.elfClass == launcher.elfClass;
}

std::string wrongArchitectureLine(const std::string& path, int launcherBits) {
    return path + " is not a " + std::to_string(launcherBits) + "-bit runtime";
}

}  // namespace vexal
