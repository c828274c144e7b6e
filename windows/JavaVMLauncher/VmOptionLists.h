#pragma once
#include <string>
#include <vector>

#include "launcher/Arguments.h"

namespace vexal {

// One read of a .vmoptions line takes at most this many bytes (a buffer of
// 8192 with its terminating zero).
constexpr std::size_t kVmOptionsReadBytes = 8191;

// The options of the "-J" arguments: every element that begins with exactly
// "-J", without those two characters, as ANSI text ("?" for what has no
// ANSI form), in command-line order.
std::vector<std::string> jArgumentOptions(const ArgumentList& arguments);

// The option list in its fixed order.
std::vector<std::string> orderVmOptions(const std::vector<std::string>& launcherProperties,
                                        const std::vector<std::string>& vmOptionsLines, const std::string& classPath,
                                        const std::vector<std::string>& vmParameters,
                                        const std::vector<std::string>& jOptions);

}  // namespace vexal
