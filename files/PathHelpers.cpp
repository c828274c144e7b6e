// Resolution of configured paths against the launcher's directory, over the
// platform's path services.
#include "files/PathHelpers.h"

#include "common/PathStyle.h"
#include "files/PathLogic.h"

namespace vexal {

std::string resolveAgainstExeDir(const std::string& path) {
    return collapseBackslashPath(joinToExeDir(executableDirectory(), path, platformPathStyle()));
}

std::string resolvePathList(const std::string& list) { return mapPathList(list, resolveAgainstExeDir, platformPathStyle()); }

}  // namespace vexal
