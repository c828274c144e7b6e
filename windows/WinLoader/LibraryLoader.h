#pragma once
#include <string>

#include "windows/WinLoader/JvmLibrary.h"

namespace vexal {

// Loads the library at an absolute path so that the libraries it depends on
// are also looked for in dependencyDirectory (a runtime's bin folder) and in
// the library's own folder; null when it does not load.
LibraryRef loadLibraryBeside(const std::string& path, const std::string& dependencyDirectory);

// The address of an exported function; null when the library lacks it.
void* libraryFunction(LibraryRef library, const char* name);

}  // namespace vexal
