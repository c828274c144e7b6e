#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vexal {
namespace testing {

// Small image files made in memory for the resource tests.

// An icon image as a DIB (header with doubled height, colour bits, mask).
struct IconSpec {
    int size;       // width and height, 1..256
    int bitCount;   // 8, 24 or 32
};
std::string iconDib(const IconSpec& spec);
// A .ico file holding one DIB image for each size description.
std::string icoFile(const std::vector<IconSpec>& specs);

// A .bmp file: bitCount 8 (with a 256-colour table), 24 or 32; a negative
// height makes a top-down bitmap; gap puts that many bytes between the
// colour table and the pixels.
std::string bmpFile(int width, int height, int bitCount = 24, std::uint32_t gap = 0);

}  // namespace testing
}  // namespace vexal
