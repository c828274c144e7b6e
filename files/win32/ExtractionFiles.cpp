#include "files/ExtractionFiles.h"

#include "config/win32/FileSource.h"

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

bool createExtractionDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

void deleteNameFile(const std::string& path) { DeleteFileA(path.c_str()); }

std::unique_ptr<ByteSink> createExtractedFile(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    return std::make_unique<FileSink>(std::move(file));
}

}  // namespace vexal
