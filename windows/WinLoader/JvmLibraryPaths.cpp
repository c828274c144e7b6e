#include "windows/WinLoader/JvmLibraryPaths.h"

#include "windows/WinLoader/SearchSequence.h"

namespace vexal {

std::vector<std::string> jvmVariantOrder(const std::string& preferred) {
    std::vector<std::string> order;
    // A preferred variant that is also in the list is tried twice when it
    // fails; the second attempt costs one failed load and nothing else.
    if (!preferred.empty()) order.push_back(preferred);
    for (const char* variant : {"hotspot", "client", "server", "classic"}) order.emplace_back(variant);
    return order;
}

std::string jvmVariantPath(const std::string& directory, const std::string& variant) {
    return directory + variant + "\\jvm.dll";
}

std::string alternativeJavaExecutable(const std::string& javaExecutable) {
    return javaExecutableDirectory(javaExecutable) + "..\\jre\\bin\\java.exe";
}

}  // namespace vexal
