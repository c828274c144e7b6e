#pragma once
#include <cstdint>
#include <string>

#include "config/ConfigStore.h"

namespace vexal::testing {

// Launcher executables for tests, made without the generator: a copy of a
// stub with a configuration block (or any bytes) appended behind its image,
// where the launcher looks for its block.
class ExeBuilder {
public:
    // Starts from the stub file at stubPath. Throws std::runtime_error when the
    // file cannot be read or when the stub's block locator does not point at
    // the end of its image (a block appended there would not be found).
    explicit ExeBuilder(const std::string& stubPath);

    // Appends the block that writeConfigBlock makes of store.
    ExeBuilder& block(const ConfigStore& store);
    // Appends arbitrary bytes: tampered or truncated blocks.
    ExeBuilder& raw(const std::string& bytes);

    const std::string& bytes() const { return image_; }
    // Where the appended bytes begin (the stub image's size).
    std::uint64_t blockOffset() const { return blockOffset_; }

    // Writes the executable (mode 0755), replacing an existing file.
    void write(const std::string& path) const;

private:
    std::string image_;
    std::uint64_t blockOffset_ = 0;
};

// The file position at which a launcher built from this image looks for its
// block. A PE image: raw-data size plus raw-data position read at the
// locator's offsets (PE32 or PE32+ chosen by the optional header's magic).
// An ELF image: where its headers say the image ends. Throws
// std::runtime_error for an image that is neither.
std::uint64_t locatedBlockOffset(const std::string& image);

std::string readBinaryFile(const std::string& path);

// A store holding the error caption and the error texts 1000 to 1011 in
// their usual wording, and entry 107 (executable type) = executableType
// (no entry 107 when it is empty).
ConfigStore typicalMessages(const std::string& executableType = "2");

}  // namespace vexal::testing
