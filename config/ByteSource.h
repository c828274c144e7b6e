#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace vexal {

// Sequential reads with seeking over a file or a byte image. The block
// reader and the extraction of included files read the executable through it.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Moves the read position; a position behind the end is allowed and
    // makes the next read deliver nothing.
    virtual void seek(std::uint64_t position) = 0;
    virtual std::uint64_t position() const = 0;
    // Total size, used to refuse lengths that the source cannot hold.
    virtual std::uint64_t size() const = 0;
    // Reads up to count bytes; returns the number delivered (0 at the end
    // or on failure).
    virtual std::size_t read(void* destination, std::size_t count) = 0;
    // The platform's error code of the last failed read (0 if none).
    virtual unsigned long lastError() const { return 0; }
};

// A ByteSource over bytes held in memory.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
    void seek(std::uint64_t position) override { position_ = position; }
    std::uint64_t position() const override { return position_; }
    std::uint64_t size() const override { return bytes_.size(); }
    std::size_t read(void* destination, std::size_t count) override;

private:
    std::string bytes_;
    std::uint64_t position_ = 0;
};

}  // namespace vexal
