// The end of an ELF image, taken from its headers: never beyond the file.
#include "config/ElfImage.h"
#include "fuzz/FuzzSupport.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemorySource source(fuzz::bytesOf(data, size));
    std::uint64_t end = 0;
    if (elfImageEnd(source, end)) FUZZ_CHECK(end >= 64 && end <= size);
    return 0;
}
