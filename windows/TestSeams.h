#pragma once

#include "windows/WinLoader/JvmRegistry.h"

namespace vexal {

// Seams for tests: besides the tests, only the units that define them
// include this header.

// From now on the JVM search uses a copy of keys (null: the real keys
// again).
void overrideJvmRegistryKeys(const JvmRegistryKeys* keys);

}  // namespace vexal
