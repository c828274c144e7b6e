#include "windows/JavaVMLauncher/EnvironmentBlock.h"

#include <windows.h>

namespace vexal {

std::vector<std::string> environmentBlock() {
    std::vector<std::string> entries;
    char* block = GetEnvironmentStringsA();
    if (!block) return entries;
    for (const char* entry = block; *entry; entry += entries.back().size() + 1) entries.emplace_back(entry);
    FreeEnvironmentStringsA(block);
    return entries;
}

}  // namespace vexal
