#include "generator/HostEnvironment.h"

#include <windows.h>

#include <algorithm>
#include <sstream>

#include "generator/PathText.h"
#include "generator/win32/WideText.h"
#include "windows/WinLoader/JavaVersion.h"

namespace vexal {
namespace gen {

namespace fs = std::filesystem;

bool environmentValue(const std::string& name, std::string& value) {
    const std::wstring wideName = wideText(name);
    std::wstring buffer(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD length = GetEnvironmentVariableW(wideName.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
            value.clear();
            return true;
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            value = utf8Text(buffer);
            return true;
        }
        buffer.resize(length);
    }
}

fs::path selfExecutable() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (length == 0) return fs::path();
        if (length < buffer.size()) {
            buffer.resize(length);
            return fs::path(buffer);
        }
        if (buffer.size() >= 32768) return fs::path();
        buffer.resize(buffer.size() * 2);
    }
}

fs::path findProgramOnPath(const std::string& name) {
    std::string path;
    if (!environmentValue("PATH", path)) return fs::path();
    fs::path file = pathFromUtf8(name);
    if (!file.has_extension()) file += ".exe";
    std::istringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, ';')) {
        // An entry may stand in double quotes ("C:\Program Files\Tools").
        dir.erase(std::remove(dir.begin(), dir.end(), '"'), dir.end());
        const fs::path directory = pathFromUtf8(dir);
        if (dir.empty() || !directory.is_absolute()) continue;
        const fs::path candidate = directory / file;
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return candidate;
    }
    return fs::path();
}

std::vector<fs::path> installedSigntools() {
    // Windows Kits\10\bin\<SDK version>\x64\signtool.exe, and the older
    // Windows Kits\<8.x>\bin\x64\signtool.exe.
    std::vector<std::pair<std::string, fs::path>> found;
    for (const char* variable : {"ProgramFiles(x86)", "ProgramFiles"}) {
        std::string root;
        if (!environmentValue(variable, root) || root.empty()) continue;
        const fs::path kits = pathFromUtf8(root) / "Windows Kits";
        std::error_code ec;
        for (const char* release : {"10", "8.1", "8.0"}) {
            const fs::path bin = kits / release / "bin";
            const fs::path flat = bin / "x64" / "signtool.exe";
            if (fs::is_regular_file(flat, ec)) found.emplace_back(release, flat);
            for (fs::directory_iterator it(bin, ec), end; !ec && it != end; it.increment(ec)) {
                const fs::path candidate = it->path() / "x64" / "signtool.exe";
                if (fs::is_regular_file(candidate, ec)) found.emplace_back(pathText(it->path().filename()), candidate);
            }
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return compareVersions(a.first, b.first) > 0;
    });
    std::vector<fs::path> tools;
    for (const auto& entry : found) {
        if (std::find(tools.begin(), tools.end(), entry.second) == tools.end()) tools.push_back(entry.second);
    }
    return tools;
}

}  // namespace gen
}  // namespace vexal
