// Interim: registry discovery, until its own unit lands; finds nothing.
#include "windows/WinLoader/JvmRegistry.h"

namespace vexal {

bool checkJavaRegistry(std::string&, const std::string&, const std::string&) { return false; }

}  // namespace vexal
