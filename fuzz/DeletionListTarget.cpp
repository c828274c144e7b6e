// The registry value of the deferred deletion lists: parsing, formatting and
// appending keep every entry intact and the value within its limit.
#include "files/DeletionList.h"
#include "fuzz/FuzzSupport.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t limit = 1 + (static_cast<std::size_t>(data[0]) << 8 | data[1]) % (kDeletionListLimit + 64);
    // stored value, path to append
    const auto field = fuzz::fields(fuzz::bytesOf(data + 2, size - 2), 2);

    const std::vector<std::string> paths = parseDeletionList(field[0]);
    for (const std::string& path : paths) FUZZ_CHECK(!path.empty() && path.find(';') == std::string::npos);
    FUZZ_CHECK(parseDeletionList(formatDeletionList(paths)) == paths);

    const std::string& path = field[1];
    const std::string appended = appendToDeletionList(field[0], path, limit);
    const bool storable = !path.empty() && path.find(';') == std::string::npos && path.size() + 1 <= limit;
    if (!storable) {
        FUZZ_CHECK(appended == field[0]);
        return 0;
    }
    const std::vector<std::string> after = parseDeletionList(appended);
    FUZZ_CHECK(!after.empty() && after.back() == path);
    FUZZ_CHECK(appended.size() <= limit);
    return 0;
}
