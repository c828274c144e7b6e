// rand_s: the C runtime's interface to the system's random source.
#define _CRT_RAND_S
#include "generator/FreshFile.h"

#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <windows.h>

#include <cwchar>

#include "generator/ExeWriter.h"
#include "generator/PathText.h"

namespace vexal {
namespace gen {

std::FILE* createFreshFile(const std::filesystem::path& path, std::filesystem::path& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned int random[2] = {0, 0};
        if (rand_s(&random[0]) != 0 || rand_s(&random[1]) != 0) break;
        wchar_t suffix[32];
        _snwprintf(suffix, 32, L".part-%08x%08x", random[0], random[1]);
        name = path;
        name += suffix;
        // CREATE_NEW: never an existing file; a link of that name is one.
        HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
        if (handle == INVALID_HANDLE_VALUE) break;
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
        if (fd < 0) {
            CloseHandle(handle);
            DeleteFileW(name.c_str());
            break;
        }
        if (std::FILE* file = _fdopen(fd, "wb")) return file;
        _close(fd);
        DeleteFileW(name.c_str());
        break;
    }
    throw BuildError(pathText(path) + ": cannot create");
}

}  // namespace gen
}  // namespace vexal
