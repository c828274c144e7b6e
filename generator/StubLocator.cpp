#include "generator/StubLocator.h"
#include "generator/PathText.h"

namespace vexal {
namespace gen {

namespace fs = std::filesystem;

std::string stubFileName(bool gui) { return gui ? "vexal-stub-gui.exe" : "vexal-stub-console.exe"; }

std::string stubFileName(bool gui, const std::string& arch) {
    return arch == "linux-x64" ? "vexal-stub-linux" : stubFileName(gui);
}

std::vector<fs::path> stubDirsUnder(const fs::path& root, const std::string& arch) {
    if (arch == "linux-x64") return {root / arch, root / "stubs" / arch, root / "linux"};
    return {root / arch, root / "stubs" / arch, root / (arch == "x86" ? "win32" : "win64") / "stubs"};
}

std::vector<fs::path> stubRoots(const std::string& explicitDir, const char* environmentDir, const fs::path& selfExe) {
    if (!explicitDir.empty()) return {pathFromUtf8(explicitDir)};
    if (environmentDir && *environmentDir) return {pathFromUtf8(environmentDir)};
    std::vector<fs::path> roots;
    if (!selfExe.empty()) {
        fs::path parent = selfExe.parent_path().parent_path();
        roots.push_back(parent);
        roots.push_back(parent / "share" / "vexal" / "stubs");
    }
    return roots;
}

fs::path findStub(const std::vector<fs::path>& roots, const std::string& arch, bool gui, std::vector<fs::path>& tried) {
    for (const auto& root : roots) {
        for (const auto& dir : stubDirsUnder(root, arch)) {
            fs::path candidate = dir / stubFileName(gui, arch);
            tried.push_back(candidate);
            std::error_code ec;
            if (fs::is_regular_file(candidate, ec)) return candidate;
        }
    }
    return fs::path();
}

fs::path findRuntimeFile(const std::vector<fs::path>& roots, const std::string& name, std::vector<fs::path>& tried) {
    for (const auto& root : roots) {
        std::vector<fs::path> dirs = {root / "lib", root / "runtime"};
        if (root.filename() == "stubs") {
            dirs.push_back(root.parent_path() / "lib");
            dirs.push_back(root.parent_path() / "runtime");
        }
        for (const auto& dir : dirs) {
            fs::path candidate = dir / name;
            tried.push_back(candidate);
            std::error_code ec;
            if (fs::is_regular_file(candidate, ec)) return candidate;
        }
    }
    return fs::path();
}

}  // namespace gen
}  // namespace vexal
