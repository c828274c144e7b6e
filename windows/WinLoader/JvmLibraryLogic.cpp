#include "windows/WinLoader/JvmLibraryLogic.h"

#include "windows/WinLoader/JavaHomeLayout.h"
#include "windows/WinLoader/SearchSequence.h"

namespace vexal {

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The Java home of a bin folder: the folder's parent, without touching the
// disk ("/jdk/bin/" gives "/jdk/"; any other folder gets "../" behind it).
std::string homeOfBinDirectory(const std::string& directory, const PathStyle& style) {
    const std::string bin = std::string("bin") + style.dir;
    if (endsWith(directory, bin)) {
        const std::string home = directory.substr(0, directory.size() - bin.size());
        if (home.empty() || home.back() == style.dir) return home;
    }
    return directory + ".." + style.dir;
}

}  // namespace

std::vector<std::string> jvmVariantOrder(const std::string& preferred) {
    std::vector<std::string> order;
    // A preferred variant that is also in the list is tried twice when it
    // fails; the second attempt costs one failed load and nothing else.
    if (!preferred.empty()) order.push_back(preferred);
    for (const char* variant : {"hotspot", "client", "server", "classic"}) order.emplace_back(variant);
    return order;
}

std::vector<std::string> jvmVariantPaths(const std::string& directory, const std::string& variant,
                                         const PathStyle& style) {
    if (style.dir == '\\') return {directory + variant + "\\jvm.dll"};
    const std::string lib = homeOfBinDirectory(directory, style) + "lib/";
    return {lib + variant + "/libjvm.so", lib + "amd64/" + variant + "/libjvm.so"};
}

std::vector<std::string> jvmLibraryCandidates(const std::string& javaExecutable, const std::string& preferred,
                                              const PathStyle& style) {
    std::vector<std::string> candidates;
    for (const std::string& executable : {javaExecutable, alternativeJavaExecutable(javaExecutable, style)}) {
        const std::string directory = javaExecutableDirectory(executable, style);
        for (const std::string& variant : jvmVariantOrder(preferred)) {
            for (const std::string& path : jvmVariantPaths(directory, variant, style)) candidates.push_back(path);
        }
    }
    return candidates;
}

std::string alternativeJavaExecutable(const std::string& javaExecutable, const PathStyle& style) {
    return javaExecutableDirectory(javaExecutable, style) + styledPath("..\\jre\\bin\\", style) +
           javaExecutableFileName(style);
}

}  // namespace vexal
