// The PE header reader and everything the generator reads from a stub's
// headers: locator check, checksum, signature directory, and composing an
// executable on top of it (resource replacement included).
#include "config/ConfigStore.h"
#include "fuzz/FuzzSupport.h"
#include "generator/AppResources.h"
#include "generator/ExeWriter.h"
#include "generator/PeImage.h"
#include "generator/PeResources.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string image = fuzz::bytesOf(data, size);
    gen::PeInfo info;
    std::string reason;
    const bool pe = gen::readPeInfo(image, info, reason);
    FUZZ_CHECK(pe || !reason.empty());

    std::uint32_t position = 0, length = 0;
    gen::securityDirectory(image, position, length);
    FUZZ_CHECK(gen::peChecksumOffset(image) <= image.size());
    gen::peChecksum(image);
    if (!pe) return 0;

    FUZZ_CHECK(info.optionalHeader < image.size());
    gen::archName(info.machine);
    gen::subsystemName(info.subsystem);
    gen::locatorFitsLastSection(info);

    ConfigStore store;
    store.setNarrow(122, "com.example.Main");
    gen::ResourceRequest request;
    const gen::ResourceTree tree = gen::buildResourceTree(request);
    for (const gen::ResourceTree* resources : {static_cast<const gen::ResourceTree*>(nullptr), &tree}) {
        try {
            const std::string exe =
                gen::composeExecutable(image, "stub", gen::archName(info.machine), store, {"abc"}, resources);
            FUZZ_CHECK(exe.size() > image.size() / 2);
        } catch (const gen::BuildError& error) {
            FUZZ_CHECK(error.what()[0] != '\0');
        }
    }
    return 0;
}
