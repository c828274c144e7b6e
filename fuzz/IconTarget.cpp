// The .ico reader and the icon group reader.
#include "fuzz/FuzzSupport.h"
#include "generator/ResourceFiles.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::bytesOf(data, size);
    std::vector<gen::IconGroupEntry> entries;
    gen::parseIconGroup(bytes, entries);

    std::vector<gen::IconImage> images;
    try {
        images = gen::parseIcoFile(bytes);
    } catch (const gen::ResourceError&) {
        return 0;
    }
    FUZZ_CHECK(!images.empty());
    for (const gen::IconImage& image : images) FUZZ_CHECK(image.data.size() <= bytes.size());

    // The group written for the images reads back with one entry each.
    std::vector<gen::IconGroupEntry> group;
    FUZZ_CHECK(gen::parseIconGroup(gen::iconGroupData(images, 1), group));
    FUZZ_CHECK(group.size() == images.size());
    for (std::size_t i = 0; i < group.size(); ++i) {
        FUZZ_CHECK(group[i].id == i + 1);
        FUZZ_CHECK(group[i].bytes == images[i].data.size());
    }
    return 0;
}
