// The configuration block reader over a byte image: through both header
// locators and from the start. A block that reads cleanly must write back
// to the same entries.
#include "config/ConfigBlock.h"
#include "fuzz/FuzzSupport.h"

using namespace vexal;

namespace {

void readThrough(const std::string& image, const BlockLocator& locator) {
    MemorySource source(image);
    ConfigStore store;
    const BlockReadResult result = readConfigBlock(source, locator, store);
    FUZZ_CHECK(blockErrorText(result.error) != nullptr);
    if (result.error == BlockError::None) FUZZ_CHECK(result.blockEnd <= image.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string image = fuzz::bytesOf(data, size);
    readThrough(image, kPe32Locator);
    readThrough(image, kPe32PlusLocator);

    MemorySource source(image);
    ConfigStore store;
    const BlockReadResult result = readConfigBlockAt(source, store);
    if (result.error != BlockError::None) return 0;
    FUZZ_CHECK(result.blockEnd <= image.size());
    for (const auto& entry : store.narrowEntries()) FUZZ_CHECK(entry.second.size() <= image.size());
    for (const auto& entry : store.wideEntries()) FUZZ_CHECK(entry.second.size() * 2 <= image.size());

    const std::string written = writeConfigBlock(store);
    MemorySource again(written);
    ConfigStore reread;
    const BlockReadResult second = readConfigBlockAt(again, reread);
    FUZZ_CHECK(second.error == BlockError::None);
    FUZZ_CHECK(second.blockEnd == written.size());
    FUZZ_CHECK(reread.narrowEntries() == store.narrowEntries());
    FUZZ_CHECK(reread.wideEntries() == store.wideEntries());
    return 0;
}
