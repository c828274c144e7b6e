// The resource readers: a resource section on its own (its RVA in the first
// four bytes) and the resources of a whole image, then the summary that
// inspect shows. A section that reads cleanly writes back to the same tree.
#include "fuzz/FuzzSupport.h"
#include "generator/Inspect.h"
#include "generator/PeResources.h"
#include "generator/ResourceTree.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::bytesOf(data, size);
    gen::VersionInfo version;
    gen::parseVersionRecord(bytes, version);

    std::string reason;
    gen::ResourceTree image;
    if (gen::readResources(bytes, image, reason)) gen::summarizeResources(image);

    if (size < 4) return 0;
    const std::uint32_t rva = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                              static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    const std::string section = bytes.substr(4);
    gen::ResourceTree tree;
    if (!gen::readResourceSection(section, rva, tree, reason)) {
        FUZZ_CHECK(!reason.empty());
        return 0;
    }
    gen::summarizeResources(tree);

    // Data placed past 4 GiB cannot be addressed; no round trip there.
    if (rva > 0x7FFFFFFFu) return 0;
    const std::string written = gen::writeResourceSection(tree, rva);
    gen::ResourceTree reread;
    FUZZ_CHECK(gen::readResourceSection(written, rva, reread, reason));
    FUZZ_CHECK(reread == tree);
    return 0;
}
