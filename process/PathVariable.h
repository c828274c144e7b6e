#pragma once
#include <cstddef>
#include <string>

#include "common/Limits.h"
#include "common/PathStyle.h"

namespace vexal {

// The PATH value that puts a resolved directory list in front of the old one.
struct PathValue {
    std::string value;
    bool cut = false;  // entries were left out to stay within the buffer
};

// list, a ';' unless list is empty or already ends in one, then oldPath; at
// most bufferSize - 1 bytes. When that does not fit, the prefix is kept and
// only the leading whole entries of oldPath that fit follow it (a prefix too
// long by itself keeps its leading whole entries). An empty list gives
// oldPath unchanged.
PathValue composePathValue(const std::string& list, const std::string& oldPath,
                           std::size_t bufferSize = kTextBuffer);

// The same with the list separator of the style (";" or ":").
PathValue composePathValue(const std::string& list, const std::string& oldPath, const PathStyle& style,
                           std::size_t bufferSize = kTextBuffer);

}  // namespace vexal
