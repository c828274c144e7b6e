#pragma once
#include "common/win32/Handle.h"
#include "config/ByteSource.h"

namespace vexal {

// A ByteSource over an open file.
class FileSource : public ByteSource {
public:
    explicit FileSource(HANDLE file) : file_(file) {}
    void seek(std::uint64_t position) override;
    std::uint64_t position() const override;
    std::uint64_t size() const override;
    std::size_t read(void* destination, std::size_t count) override;
    unsigned long lastError() const override { return lastError_; }

private:
    HANDLE file_;
    unsigned long lastError_ = 0;
};

// Opens the launcher's own executable for reading, sharing read and write,
// as the block reader and the extraction need it.
FileHandle openOwnExecutable(const std::string& path);

}  // namespace vexal
