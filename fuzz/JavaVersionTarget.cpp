// Both version comparisons and the -version banner over any texts.
#include "fuzz/FuzzSupport.h"
#include "windows/WinLoader/JavaVersion.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const unsigned char flags = data[0];
    // version, minimum, maximum
    const auto field = fuzz::fields(fuzz::bytesOf(data + 1, size - 1), 3);

    versionInRange(field[0], field[1], field[2], flags & 1, flags & 2);
    versionPrefixInRange(field[0], field[1], field[2]);
    // Inclusive bounds: a version without "beta" lies within itself.
    if (field[0].find("beta") == std::string::npos)
        FUZZ_CHECK(versionInRange(field[0], field[0], field[0], false, false));
    FUZZ_CHECK(versionPrefixInRange(field[0], field[0], field[0]));

    std::string version;
    if (parseVersionBanner(field[0], version)) {
        FUZZ_CHECK(version.find('"') == std::string::npos);
        FUZZ_CHECK(field[0].find(version) != std::string::npos);
    }
    return 0;
}
