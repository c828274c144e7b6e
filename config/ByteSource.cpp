#include "config/ByteSource.h"

#include <cstring>

namespace vexal {

std::size_t MemorySource::read(void* destination, std::size_t count) {
    if (position_ >= bytes_.size()) return 0;
    std::size_t available = static_cast<std::size_t>(bytes_.size() - position_);
    std::size_t n = count < available ? count : available;
    std::memcpy(destination, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

}  // namespace vexal
