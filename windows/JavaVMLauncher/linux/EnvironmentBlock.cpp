#include "windows/JavaVMLauncher/EnvironmentBlock.h"

extern char** environ;

namespace vexal {

std::vector<std::string> environmentBlock() {
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) entries.emplace_back(*entry);
    return entries;
}

}  // namespace vexal
