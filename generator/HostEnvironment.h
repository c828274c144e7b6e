#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace vexal {
namespace gen {

// What the generator asks of the system it runs on. Texts are UTF-8 on every
// system (Windows gives them as UTF-16).

// The value of an environment variable; false when it is not set.
bool environmentValue(const std::string& name, std::string& value);

// The running program's own path (empty when the system does not say).
std::filesystem::path selfExecutable();

// A program found by name in the directories of PATH, the first that holds
// it as a regular file the user may run; empty when none does. Only absolute
// directories count: an empty or relative entry would let the current
// directory supply the program. On Windows the entries are separated by ";"
// and ".exe" is added to a name without an extension.
std::filesystem::path findProgramOnPath(const std::string& name);

// signtool.exe of the installed Windows SDKs, newest first; empty off
// Windows or without an SDK.
std::vector<std::filesystem::path> installedSigntools();

}  // namespace gen
}  // namespace vexal
