#pragma once
#include <string>

namespace vexal {

// Restores a runtime delivered with Pack200-compressed archives, running its
// own bin\unpack200.exe once per archive; ends the process with internal
// error 20 when the tool cannot be started.
void prepareJre(const std::string& home);
void unpackJar(const std::string& home, const std::string& relativeJar);

}  // namespace vexal
