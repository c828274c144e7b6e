#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "common/ArgumentSplitting.h"

namespace vexal {

// The options the JVM is created with, in order: the launcher properties,
// the .vmoptions lines, the class-path option, entry 123 and (entry 125)
// the "-J" arguments of the command line; last sun.java.command, as java
// sets it. Logs "vmoption count %d" and each "vmoption %d: %s".
std::vector<std::string> buildVmOptions(const std::vector<std::string>& launcherProperties,
                                        const ArgumentList& arguments);

// The .vmoptions file beside the executable (long path + ".vmoptions"), or null.
std::FILE* openVmOptionsFile();

}  // namespace vexal
