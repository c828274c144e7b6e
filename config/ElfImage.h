#pragma once
#include <cstdint>

#include "config/ByteSource.h"

namespace vexal {

// Where an ELF image ends in its file, taken from the image's own headers:
// the largest of the section header table's end, every program header's
// file extent and every section's file extent (sections that occupy no file
// space left out). Anything appended behind the image starts there.
// False when the source holds no little-endian 64-bit ELF image or a header
// lies outside the source.
bool elfImageEnd(ByteSource& source, std::uint64_t& end);

}  // namespace vexal
