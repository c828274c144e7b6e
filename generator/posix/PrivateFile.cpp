#include "generator/PrivateFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "generator/ExeWriter.h"

namespace vexal {
namespace gen {

void writePrivateFile(const std::filesystem::path& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) throw BuildError(path.string() + ": cannot create");
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            throw BuildError(path.string() + ": write error");
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

std::filesystem::path makePrivateDirectory(const std::string& prefix) {
    // mkdtemp: mode 0700 under a name nobody can foresee.
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
    if (::mkdtemp(&pattern[0]) == nullptr) throw BuildError("cannot create a private scratch directory in " + pattern);
    return pattern;
}

}  // namespace gen
}  // namespace vexal
