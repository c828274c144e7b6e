#include "generator/PrivateFile.h"

#include <fcntl.h>
#include <unistd.h>

#include "generator/ExeWriter.h"

namespace vexal {
namespace gen {

void writePrivateFile(const std::filesystem::path& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) throw BuildError(path.string() + ": cannot create");
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            throw BuildError(path.string() + ": write error");
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

}  // namespace gen
}  // namespace vexal
