#include "windows/WinLoader/PackedJre.h"

namespace vexal {

// Packed runtimes are not restored yet: a home is used as it is.
void prepareJre(const std::string&) {}
void unpackJar(const std::string&, const std::string&) {}

}  // namespace vexal
