// The .bmp reader: an accepted file gives a DIB whose size reads back.
#include "fuzz/FuzzSupport.h"
#include "generator/ResourceFiles.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::bytesOf(data, size);
    int width = 0, height = 0;
    gen::dibSize(bytes, width, height);

    gen::Bitmap bitmap;
    try {
        bitmap = gen::parseBmpFile(bytes);
    } catch (const gen::ResourceError&) {
        return 0;
    }
    FUZZ_CHECK(bitmap.width > 0 && bitmap.height > 0);
    FUZZ_CHECK(bitmap.dib.size() <= bytes.size());
    FUZZ_CHECK(gen::dibSize(bitmap.dib, width, height));
    FUZZ_CHECK(width == bitmap.width && height == bitmap.height);
    return 0;
}
