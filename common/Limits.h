#pragma once
#include <cstddef>

namespace vexal {

// Paths, configuration values and messages are handled in buffers of this
// size; a value must fit with its terminating zero (8191 bytes of text).
constexpr std::size_t kTextBuffer = 8192;

// The launcher-kind letter is read into a two-byte buffer, font face names
// into 32 bytes (the size of the face-name field of a font description).
constexpr std::size_t kKindBuffer = 2;
constexpr std::size_t kFaceNameBuffer = 32;

}  // namespace vexal
