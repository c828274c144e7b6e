#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace vexal {
namespace gen {

// "vexal-stub-gui.exe" or "vexal-stub-console.exe".
std::string stubFileName(bool gui);

// The stub of an architecture: the Windows stub of the subsystem, or
// "vexal-stub-linux" (one stub serves both kinds) for "linux-x64".
std::string stubFileName(bool gui, const std::string& arch);

// Where the stubs of an architecture ("x64", "x86" or "linux-x64") may lie
// under a stub root: a Vexal home (an unpacked release: bin/vexal beside
// stubs/x64, stubs/x86 and stubs/linux-x64, the runtime jars in lib/) or an
// installation's share/vexal/stubs hold <arch>/ directories, a build tree
// holds win64/stubs, win32/stubs and linux/.
std::vector<std::filesystem::path> stubDirsUnder(const std::filesystem::path& root, const std::string& arch);

// The stub roots, in the order they are tried: the explicit directory
// (--stubs) or else the environment's directory (VEXAL_STUB_DIR), and
// else the places beside the running program: the directory above its own
// (a home: home/bin/vexal -> home; a build tree: build/generator/vexal ->
// build) and its installation (prefix/bin/vexal -> prefix/share/vexal/stubs).
std::vector<std::filesystem::path> stubRoots(const std::string& explicitDir, const char* environmentDir,
                                             const std::filesystem::path& selfExe);

// The first existing stub file for the architecture and subsystem; empty
// when none exists. tried receives every path that was looked at.
std::filesystem::path findStub(const std::vector<std::filesystem::path>& roots, const std::string& arch, bool gui,
                               std::vector<std::filesystem::path>& tried);

// The launcher's Java runtime file (vexal-runtime.jar, kvlruntime.jar) beside
// the stubs: lib/ of a home, runtime/ of a build tree, share/vexal/lib (or
// share/vexal/runtime) beside an installed share/vexal/stubs. Empty when
// none exists; tried receives every path that was looked at.
std::filesystem::path findRuntimeFile(const std::vector<std::filesystem::path>& roots, const std::string& name,
                                      std::vector<std::filesystem::path>& tried);

}  // namespace gen
}  // namespace vexal
