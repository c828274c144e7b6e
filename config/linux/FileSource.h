#pragma once
#include <memory>
#include <string>

#include "config/ByteSource.h"

namespace vexal {

// A ByteSource over a file descriptor that it owns.
class FileSource : public ByteSource {
public:
    explicit FileSource(int fd) : fd_(fd) {}
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    void seek(std::uint64_t position) override { position_ = position; }
    std::uint64_t position() const override { return position_; }
    std::uint64_t size() const override;
    std::size_t read(void* destination, std::size_t count) override;
    unsigned long lastError() const override { return lastError_; }

private:
    int fd_;
    std::uint64_t position_ = 0;
    unsigned long lastError_ = 0;
};

// The launcher's own executable opened for reading; null when it cannot be.
std::unique_ptr<ByteSource> openOwnExecutableSource(const std::string& path);

}  // namespace vexal
