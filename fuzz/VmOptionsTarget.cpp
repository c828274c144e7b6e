// The .vmoptions reader over any file content: every option fits one
// 8191-byte read and carries no line end.
#include <cstdio>

#include "fuzz/FuzzSupport.h"
#include "windows/JavaVMLauncher/VmOptionsLogic.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string content = fuzz::bytesOf(data, size);
    std::FILE* stream = std::tmpfile();
    if (!stream) return 0;
    if (!content.empty()) std::fwrite(content.data(), 1, content.size(), stream);
    std::rewind(stream);
    const std::vector<std::string> lines = readVmOptionsLines(stream);
    std::fclose(stream);

    std::size_t total = 0;
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.size() <= kVmOptionsReadBytes);
        FUZZ_CHECK(line.empty() || (line.back() != '\n' && line.back() != '\r'));
        total += line.size();
    }
    FUZZ_CHECK(total <= content.size());
    return 0;
}
