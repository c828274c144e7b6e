// The choice of the temporary directory over the platform's sources, or a
// test's, and the fixed message when no directory can be written.
#include "files/TempFiles.h"

#include <memory>

#include "config/ErrorReport.h"
#include "files/TestSeams.h"

namespace vexal {

namespace {

constexpr const char* kPowerUserText = "I am sorry, but you must be at least Poweruser to run this program.\n";
constexpr const char* kPowerUserTitle = "Error";

std::unique_ptr<TempDirSources>& sourcesOverride() {
    static std::unique_ptr<TempDirSources> sources;
    return sources;
}

}  // namespace

void overrideTempDirSources(const TempDirSources* sources) {
    sourcesOverride() = sources ? std::make_unique<TempDirSources>(*sources) : nullptr;
}

bool isSharedTempDir(const std::string& dir) {
    const std::unique_ptr<TempDirSources>& given = sourcesOverride();
    const std::string own = given ? given->tempPath : platformTempDirSources().tempPath;
    const auto withoutSeparator = [](std::string path) {
        while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
        return path;
    };
    return withoutSeparator(dir) != withoutSeparator(own);
}

std::string chooseTempDir() {
    const std::unique_ptr<TempDirSources>& given = sourcesOverride();
    const std::string dir = selectTempDir(given ? *given : platformTempDirSources());
    if (dir.empty()) {
        displayErrorBox(kPowerUserTitle, kPowerUserText, nullptr);
        exitLauncher(1);
    }
    return dir;
}

}  // namespace vexal
