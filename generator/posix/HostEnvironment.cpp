#include "generator/HostEnvironment.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace vexal {
namespace gen {

namespace fs = std::filesystem;

bool environmentValue(const std::string& name, std::string& value) {
    const char* text = std::getenv(name.c_str());
    if (!text) return false;
    value = text;
    return true;
}

fs::path selfExecutable() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self;
}

fs::path findProgramOnPath(const std::string& name) {
    std::string path;
    if (!environmentValue("PATH", path)) path = "/usr/bin:/bin";
    std::istringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (dir.empty() || dir[0] != '/') continue;
        fs::path candidate = fs::path(dir) / name;
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return fs::path();
}

std::vector<fs::path> installedSigntools() { return {}; }

}  // namespace gen
}  // namespace vexal
