#include "config/linux/FileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vexal {

FileSource::~FileSource() { close(fd_); }

std::uint64_t FileSource::size() const {
    struct stat info {};
    return fstat(fd_, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

std::size_t FileSource::read(void* destination, std::size_t count) {
    for (;;) {
        const ssize_t got = pread(fd_, destination, count, static_cast<off_t>(position_));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            lastError_ = got < 0 ? static_cast<unsigned long>(errno) : 0;
            return 0;
        }
        position_ += static_cast<std::uint64_t>(got);
        return static_cast<std::size_t>(got);
    }
}

std::unique_ptr<ByteSource> openOwnExecutableSource(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_unique<FileSource>(fd);
}

}  // namespace vexal
