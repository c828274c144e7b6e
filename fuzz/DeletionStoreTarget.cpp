// The Linux deletion store text: what is parsed formats and parses back to
// the same entries, and adding an entry never duplicates one.
#include "files/DeletionStore.h"
#include "fuzz/FuzzSupport.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::bytesOf(data, size);
    const std::vector<DeletionEntry> parsed = parseDeletionStore(text);
    for (const DeletionEntry& entry : parsed) {
        FUZZ_CHECK(entry.kind == 'd' || entry.kind == 'f');
        isExtractionDirectoryName(entry.path);
    }

    const std::vector<DeletionEntry> stored = parseDeletionStore(formatDeletionStore(parsed));
    FUZZ_CHECK(stored.size() <= parsed.size());
    FUZZ_CHECK(parseDeletionStore(formatDeletionStore(stored)) == stored);

    if (!parsed.empty()) {
        const std::vector<DeletionEntry> again = withDeletionEntry(parsed, parsed.front());
        FUZZ_CHECK(again.size() == parsed.size());
    }
    return 0;
}
