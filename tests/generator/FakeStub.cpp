#include "FakeStub.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vexal {
namespace testing {

namespace fs = std::filesystem;

namespace {

void put16(std::string& image, std::size_t offset, std::uint16_t value) {
    image[offset] = static_cast<char>(value & 0xFF);
    image[offset + 1] = static_cast<char>(value >> 8);
}

void put32(std::string& image, std::size_t offset, std::uint32_t value) {
    put16(image, offset, static_cast<std::uint16_t>(value & 0xFFFF));
    put16(image, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

std::string fakeStub(std::uint16_t machine, std::uint16_t subsystem, std::size_t resourceSize,
                     std::uint16_t sectionCount) {
    const bool plus = machine == 0x8664;
    const std::uint16_t optionalSize = plus ? 240 : 224;
    const std::uint16_t sections = sectionCount ? sectionCount : (plus ? 6 : 5);
    const std::uint32_t peOffset = 0x80;
    const std::uint32_t rawPosition = 0x400;
    std::string image(rawPosition, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    put32(image, 0x3C, peOffset);
    image.replace(peOffset, 4, std::string("PE\0\0", 4));
    const std::size_t fileHeader = peOffset + 4;
    put16(image, fileHeader, machine);
    put16(image, fileHeader + 2, sections);
    put16(image, fileHeader + 16, optionalSize);
    const std::size_t optional = fileHeader + 20;
    put16(image, optional, plus ? 0x20B : 0x10B);
    put16(image, optional + 68, subsystem);
    put32(image, optional + 8, static_cast<std::uint32_t>(resourceSize));  // initialized data
    put32(image, optional + 32, 0x1000);                                    // section alignment
    put32(image, optional + 36, 0x200);                                     // file alignment
    const std::size_t directories = optional + (plus ? 112 : 96);
    put32(image, directories - 4, 16);
    const std::uint32_t resourceRva = 0x1000;
    put32(image, directories + 2 * 8, resourceRva);
    put32(image, directories + 2 * 8 + 4, static_cast<std::uint32_t>(resourceSize));
    put32(image, optional + 56, resourceRva + 0x1000);  // size of image
    const std::size_t last = optional + optionalSize + 40 * (sections - 1);
    image.replace(last, 5, ".rsrc");
    put32(image, last + 8, static_cast<std::uint32_t>(resourceSize));
    put32(image, last + 12, resourceRva);
    put32(image, last + 16, static_cast<std::uint32_t>(resourceSize));
    put32(image, last + 20, rawPosition);
    put32(image, last + 36, 0x40000040);  // initialized data, readable
    for (std::size_t i = 0; i < resourceSize; ++i) image.push_back(static_cast<char>(i * 7 + subsystem));
    return image;
}

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "vexal-gen-XXXXXX").string();
    if (!mkdtemp(&pattern[0])) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace testing
}  // namespace vexal
