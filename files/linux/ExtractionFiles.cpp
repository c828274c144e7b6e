#include "files/ExtractionFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "config/linux/FileSource.h"
#include "files/TempFiles.h"
#include "files/linux/PrivateDirectory.h"

namespace vexal {

namespace {

class FileSink : public ByteSink {
public:
    explicit FileSink(int fd) : fd_(fd) {}
    ~FileSink() override { close(fd_); }
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;
    std::size_t write(const void* data, std::size_t count) override {
        for (;;) {
            const ssize_t n = ::write(fd_, data, count);
            if (n < 0 && errno == EINTR) continue;
            return n < 0 ? 0 : static_cast<std::size_t>(n);
        }
    }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<ByteSource> openOwnExecutableForReading(const std::string& path) {
    return openOwnExecutableSource(path);
}

// mkdtemp makes the directory with mode 0700 under a name nobody else holds,
// inside the private per-user directory. When that cannot be had (another
// user holds its name in the temporary directory), directly in the
// temporary directory: the directory itself is as private, and the clean-up
// removes only directories of this user's with that mode.
std::string makeExtractionDirectory() {
    const std::string& parent = privateDirectory();
    std::string name = (parent.empty() ? chooseTempDir() : parent) + "vxl_dirXXXXXX";
    return mkdtemp(&name[0]) != nullptr ? name : std::string();
}

bool createExtractionDirectory(const std::string& path) { return mkdir(path.c_str(), 0700) == 0; }

void deleteNameFile(const std::string& path) { unlink(path.c_str()); }

// O_NOFOLLOW: a link planted under an extracted file's name is not written
// through.
std::unique_ptr<ByteSink> createExtractedFile(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    return std::make_unique<FileSink>(fd);
}

// The extraction directory's lock, held for the whole run, already keeps
// every other launcher's clean-up away from its files.
void holdExtractedFile(const std::string&) {}

}  // namespace vexal
