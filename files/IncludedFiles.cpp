#include "files/IncludedFiles.h"

#include <cstring>

namespace vexal {

std::vector<std::string> includedFileNames(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

namespace {

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$ and CONOUT$ name devices in
// every directory; "nul.txt" and "nul .txt" do as well.
bool isDeviceName(const std::string& name) {
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = asciiUpper(c);
    static const char* const kPlain[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kPlain) {
        if (base == device) return true;
    }
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace

const char* includedFileNameProblem(const std::string& name) {
    if (name.empty()) return "the name is empty";
    if (name.find_first_of("\\/") != std::string::npos) return "the name holds a path separator";
    if (name.find(':') != std::string::npos) return "the name holds \":\"";
    if (name.find(';') != std::string::npos) return "the name holds \";\"";
    if (name == "." || name.find("..") != std::string::npos) return "the name holds \"..\" or is \".\"";
    for (unsigned char c : name) {
        if (c < 32 || std::strchr("<>\"|?*", c) != nullptr) return "the name holds a character Windows does not allow";
    }
    if (name.back() == '.' || name.back() == ' ') return "the name ends in a dot or a blank";
    if (isDeviceName(name)) return "the name is reserved for a device";
    return nullptr;
}

bool sourceHolds(const ByteSource& source, std::uint64_t size) {
    const std::uint64_t position = source.position();
    const std::uint64_t total = source.size();
    return position <= total && size <= total - position;
}

namespace {

bool writeWhole(ByteSink& target, const unsigned char* data, std::size_t count) {
    while (count > 0) {
        std::size_t written = target.write(data, count);
        if (written == 0 || written > count) return false;
        data += written;
        count -= written;
    }
    return true;
}

// The mask taken off eight bytes at a time, then the rest one by one.
void unmask(unsigned char* data, std::size_t count) {
    constexpr std::uint64_t kWordMask = 0x0101010101010101ull * kIncludedFileMask;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        word ^= kWordMask;
        std::memcpy(data + i, &word, 8);
    }
    for (; i < count; ++i) data[i] ^= kIncludedFileMask;
}

}  // namespace

CopyResult copyRecordData(ByteSource& source, ByteSink& target, std::uint64_t size, bool unscramble) {
    if (size == 0) return CopyResult::Done;
    // Large chunks: under Wine every read and write is a round trip, so the
    // number of calls, not the bytes, decides how long extraction takes.
    std::vector<unsigned char> buffer(size < kCopyChunk ? static_cast<std::size_t>(size) : kCopyChunk);
    std::uint64_t done = 0;
    while (done < size) {
        const std::uint64_t left = size - done;
        const std::size_t want = left < buffer.size() ? static_cast<std::size_t>(left) : buffer.size();
        const std::size_t got = source.read(buffer.data(), want);
        if (got == 0 || got > want) return CopyResult::ReadFailed;
        if (unscramble) unmask(buffer.data(), got);
        if (!writeWhole(target, buffer.data(), got)) return CopyResult::WriteFailed;
        done += got;
    }
    return CopyResult::Done;
}

}  // namespace vexal
