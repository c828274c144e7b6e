#pragma once
#include <string>
#include <vector>

#include "common/PathStyle.h"

namespace vexal {

// A runtime delivered with Pack200-compressed archives: rt.jar.pack marks it
// packed, jsse.jar (restored last) marks it restored.
std::string packedMarkerPath(const std::string& home, const PathStyle& style);
std::string restoredMarkerPath(const std::string& home, const PathStyle& style);
bool needsUnpacking(bool packedMarkerExists, bool restoredMarkerExists);

// The archives restored, relative to the home, in the order they are restored.
std::vector<std::string> packedArchives(const PathStyle& style);

// The tool run for one archive, as its arguments, the program first:
// "<home>\bin\unpack200.exe", "-r", <packed>, <archive> ("<home>/bin/unpack200"
// on Linux). Each stays one argument whatever it holds.
std::vector<std::string> unpackArguments(const std::string& home, const std::string& packedArchive,
                                         const std::string& archive, const PathStyle& style);

}  // namespace vexal
