#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/ByteSource.h"

namespace vexal {

// Included files are stored XORed byte by byte with this mask.
constexpr unsigned char kIncludedFileMask = 0x5A;

// Data moves through one buffer of this size; no file is held whole.
constexpr std::size_t kCopyChunk = 256 * 1024;

// The names of entry 2003 in storage order: the pieces between ";" separators,
// empty pieces skipped.
std::vector<std::string> includedFileNames(const std::string& list);

// Why name cannot be the plain name of a file inside the extraction
// directory, or null when it can. Refused: the empty name, path separators,
// ":" (drives and streams), ";" (the list separator), "." and any "..",
// characters Windows does not allow in names, a trailing dot or blank
// (Windows would drop it) and the reserved device names (CON, NUL, COM1,
// ...), with or without an extension. Comparisons ignore ASCII case.
const char* includedFileNameProblem(const std::string& name);

// A destination of copied bytes: write delivers how many bytes it took, 0 on
// failure.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual std::size_t write(const void* data, std::size_t count) = 0;
};

enum class CopyResult { Done, ReadFailed, WriteFailed };

// Copies size bytes from the source's current position to the target in
// chunks of at most kCopyChunk bytes, XORing each with the mask when
// unscramble is set. A read that fails or delivers nothing stops the copy
// with ReadFailed; every chunk is written whole (repeating partial writes)
// or the copy stops with WriteFailed.
CopyResult copyRecordData(ByteSource& source, ByteSink& target, std::uint64_t size, bool unscramble);

// True when the source still holds size bytes behind its current position.
bool sourceHolds(const ByteSource& source, std::uint64_t size);

}  // namespace vexal
