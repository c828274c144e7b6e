#include "files/ExtractionFiles.h"

#include <cstdint>
#include <vector>

#include "common/SecureRandom.h"
#include "config/win32/FileSource.h"
#include "files/DeletionList.h"
#include "files/TempFiles.h"
#include "files/win32/OwnerOnlyDirectory.h"

namespace vexal {

namespace {

// A FileSource that owns its handle.
class OwnedFileSource : public FileSource {
public:
    explicit OwnedFileSource(FileHandle file) : FileSource(file.get()), file_(std::move(file)) {}

private:
    FileHandle file_;
};

class FileSink : public ByteSink {
public:
    explicit FileSink(FileHandle file) : file_(std::move(file)) {}
    std::size_t write(const void* data, std::size_t count) override {
        DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(file_.get(), data, chunk, &written, nullptr)) return 0;
        return written;
    }

private:
    FileHandle file_;
};

}  // namespace

std::unique_ptr<ByteSource> openOwnExecutableForReading(const std::string& path) {
    FileHandle file = openOwnExecutable(path);
    if (!file) return nullptr;
    return std::make_unique<OwnedFileSource>(std::move(file));
}

// A fresh "vxl" temporary name (its placeholder file deleted at once) with
// "_dir" and a random number of twenty digits appended, from the system's
// cryptographic source: another user who shares a fall-back directory must
// not guess the name and make it first, or a link under it. There, the
// directory is also made the user's alone. Empty when no temporary name
// could be made: the directory must not end up relative to the current one.
std::string makeExtractionDirectory() {
    const std::string name = createTempFileName();
    if (name.empty()) return name;
    deleteNameFile(name);
    std::uint64_t number = 0;
    if (!secureRandomNumber(number)) return std::string();
    const std::string directory = extractionDirectoryPath(name, number);
    const bool shared = isSharedTempDir(name.substr(0, name.find_last_of("\\/")));
    const bool made = shared ? createOwnerOnlyDirectory(directory) : createExtractionDirectory(directory);
    return made ? directory : std::string();
}

bool createExtractionDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

void deleteNameFile(const std::string& path) { DeleteFileA(path.c_str()); }

std::unique_ptr<ByteSink> createExtractedFile(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    return std::make_unique<FileSink>(std::move(file));
}

void holdExtractedFile(const std::string& path) {
    static std::vector<FileHandle> held;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) held.push_back(std::move(file));
}

}  // namespace vexal
