#include "config/win32/FileSource.h"

namespace vexal {

void FileSource::seek(std::uint64_t position) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    SetFilePointerEx(file_, to, nullptr, FILE_BEGIN);
}

std::uint64_t FileSource::position() const {
    LARGE_INTEGER zero{}, now{};
    if (!SetFilePointerEx(file_, zero, &now, FILE_CURRENT)) return 0;
    return static_cast<std::uint64_t>(now.QuadPart);
}

std::uint64_t FileSource::size() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_, &size)) return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t FileSource::read(void* destination, std::size_t count) {
    DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
    DWORD got = 0;
    if (!ReadFile(file_, destination, chunk, &got, nullptr)) {
        lastError_ = GetLastError();
        return 0;
    }
    if (got == 0) lastError_ = GetLastError();
    return got;
}

FileHandle openOwnExecutable(const std::string& path) {
    return FileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace vexal
