#pragma once
#include <cstdint>
#include <string>

#include "generator/ResourceTree.h"

namespace vexal {
namespace gen {

// Replaces the resources of an executable image whose last section is its
// resource section: the section's data become the written tree, and every
// header field that depends on them is updated (the section's virtual and
// raw sizes, SizeOfImage, SizeOfInitializedData, the resource directory
// entry). The section keeps its place, so the raw data start where they
// did; the image ends at the new, file-aligned, end of that section.
// Throws BuildError when the image's last section is not its resources or
// something lies behind it.
std::string replaceResources(const std::string& image, const ResourceTree& tree, const std::string& imageName);

// Reads the resource tree of an image. Returns false with a reason when the
// image has no readable resource section (an image without resources gives
// an empty tree and true).
bool readResources(const std::string& image, ResourceTree& tree, std::string& reason);

// The PE checksum of a file (the checksum field counted as zero), and the
// file with that checksum stored in its header.
std::uint32_t peChecksum(const std::string& file);

// The same checksum over bytes that arrive in pieces (a file written in a
// stream): the four bytes at checksumOffset count as zero.
class PeChecksum {
public:
    explicit PeChecksum(std::uint32_t checksumOffset) : skipFrom_(checksumOffset) {}
    void add(const char* bytes, std::size_t count);
    std::uint32_t value() const;

private:
    std::uint64_t skipFrom_;
    std::uint64_t position_ = 0;
    std::uint64_t sum_ = 0;
};

// File offset of the checksum field of an image (0 when it is not one).
std::uint32_t peChecksumOffset(const std::string& image);
void storePeChecksum(std::string& file);

// The security (signature) directory entry: file position and size; 0, 0
// for an unsigned file.
void securityDirectory(const std::string& image, std::uint32_t& position, std::uint32_t& size);

}  // namespace gen
}  // namespace vexal
