// Stand-ins for the VM-option and class-path builders until they land; the
// launch links against these meanwhile.
#include "windows/JavaVMLauncher/ClassPath.h"
#include "windows/JavaVMLauncher/VmOptions.h"

namespace vexal {

std::vector<std::string> buildVmOptions(const std::vector<std::string>& launcherProperties, const ArgumentList&) {
    return launcherProperties;
}

void substituteVariables(std::string&) {}

}  // namespace vexal
