#include "generator/FreshFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "generator/ExeWriter.h"
#include "generator/PathText.h"

namespace vexal {
namespace gen {

std::FILE* createFreshFile(const std::filesystem::path& path, std::filesystem::path& name) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".part-%08x%08x", static_cast<unsigned>(random()),
                      static_cast<unsigned>(random()));
        name = path;
        name += suffix;
        // Every permission the umask leaves: the output is a program.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0777);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) break;
        if (std::FILE* file = ::fdopen(fd, "wb")) return file;
        ::close(fd);
        ::unlink(name.c_str());
        break;
    }
    throw BuildError(pathText(path) + ": cannot create: " + std::strerror(errno));
}

}  // namespace gen
}  // namespace vexal
