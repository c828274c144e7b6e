#pragma once
#include <string>

#include "windows/WinLoader/ImageArchitecture.h"
#include "windows/WinLoader/JvmLibrary.h"

namespace vexal {

// Loads the library at an absolute path so that the libraries it depends on
// are also looked for in dependencyDirectory (a runtime's bin folder) and in
// the library's own folder; null when it does not load.
LibraryRef loadLibraryBeside(const std::string& path, const std::string& dependencyDirectory);

// The address of an exported function; null when the library lacks it.
void* libraryFunction(LibraryRef library, const char* name);

// The architecture of the libraries that this process can load.
ImageArchitecture loadableArchitecture();

// The architecture that the header of the file at path declares; false when
// the file cannot be opened or holds no PE or ELF image.
bool imageArchitectureOf(const std::string& path, ImageArchitecture& architecture);

}  // namespace vexal
