// The PE header reader and everything the generator reads from a stub's
// headers: locator check, checksum, signature directory, and composing an
// executable on top of it (resource replacement included).
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "fuzz/FuzzSupport.h"
#include "generator/AppResources.h"
#include "generator/Bytes.h"
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
    store.setNarrow(id::MainClass, "com.example.Main");
    gen::ResourceRequest request;
    const gen::ResourceTree tree = gen::buildResourceTree(request);
    for (const gen::ResourceTree* resources : {static_cast<const gen::ResourceTree*>(nullptr), &tree}) {
        try {
            const std::string exe =
                gen::composeExecutable(image, "stub", gen::archName(info.machine), store, {"abc"}, resources);
            // The block is appended; replaced resources may be smaller than
            // the stub's, but no other section's data is lost or changed.
            FUZZ_CHECK(resources != nullptr || exe.size() > image.size());
            FUZZ_CHECK(exe.size() > info.lastRawPosition);
            for (std::uint32_t header = info.lastSectionHeader - gen::kSectionHeaderSize * (info.sectionCount - 1u);
                 header < info.lastSectionHeader; header += gen::kSectionHeaderSize) {
                const std::uint32_t size = gen::get32(image, header + 16), raw = gen::get32(image, header + 20);
                // Data within the headers change with them (sizes, checksum).
                if (size == 0 || raw < info.lastSectionHeader + gen::kSectionHeaderSize ||
                    std::uint64_t(raw) + size > image.size())
                    continue;
                FUZZ_CHECK(exe.size() >= std::uint64_t(raw) + size && exe.compare(raw, size, image, raw, size) == 0);
            }
        } catch (const gen::BuildError& error) {
            FUZZ_CHECK(error.what()[0] != '\0');
        }
    }
    return 0;
}
