#pragma once
// Common ground of the JVM search tests: a debug log to read back, scratch
// registry keys for the JavaSoft keys, located records and the version cache,
// a scratch temporary directory for the probe's output files, and a clean
// configuration store.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "config/ConfigStore.h"
#include "config/Log.h"
#include "config/TestSeams.h"
#include "files/TempFiles.h"
#include "files/TestSeams.h"
#include "tests/wine/JavaHomes.h"
#include "tests/wine/Scratch.h"
#include "tests/wine/WinScratch.h"
#include "windows/TestSeams.h"
#include "windows/WinLoader/JvmRegistry.h"

namespace vexal::wintest {

inline void deleteKeyTree(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &handle) == ERROR_SUCCESS) {
        char name[1024];
        DWORD size = sizeof name;
        while (RegEnumKeyExA(handle, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            deleteKeyTree(root, key + "\\" + std::string(name, size));
            size = sizeof name;
        }
        RegCloseKey(handle);
    }
    RegDeleteKeyA(root, key.c_str());
}

inline void setRegistryText(HKEY root, const std::string& key, const char* name, const std::string& text,
                            bool withTerminator = true) {
    HKEY handle = nullptr;
    RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + (withTerminator ? 1 : 0)));
    RegCloseKey(handle);
}

inline void createKey(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    RegCloseKey(handle);
}

inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class JvmSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        configStore().clear();
        static unsigned counter = 0;
        scratchDir_ = std::make_unique<vexal::testing::ScratchDir>("jvm" + std::to_string(++counter));
        scratch_ = scratchDir_->path();
        probeTemp_ = scratch_ + "\\probe-temp";
        CreateDirectoryA(probeTemp_.c_str(), nullptr);
        TempDirSources sources{probeTemp_ + "\\", "c:\\windows", "c:\\"};
        overrideTempDirSources(&sources);
        testRoot_ = "SOFTWARE\\tarnwellsoft\\vexal-tests\\jcheck-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(GetTickCount64()) + "-" + std::to_string(counter);
        keys_.runtimeKey = testRoot_ + "\\JavaSoft\\Java Runtime Environment";
        keys_.developmentKitKey = testRoot_ + "\\JavaSoft\\Java Development Kit";
        keys_.locatedJvmsKey = testRoot_ + "\\locatedjvms\\";
        keys_.versionCacheKey = testRoot_ + "\\jvms\\";
        overrideJvmRegistryKeys(&keys_);
        SetEnvironmentVariableA("VEXAL_LOG", "yes");
        resetLogForTests();
    }

    void TearDown() override {
        const char* log = logFileName();
        const std::string logPath = log ? log : "";
        resetLogForTests();
        if (!logPath.empty()) DeleteFileA(logPath.c_str());
        SetEnvironmentVariableA("VEXAL_LOG", nullptr);
        overrideJvmRegistryKeys(nullptr);
        overrideTempDirSources(nullptr);
        deleteKeyTree(HKEY_CURRENT_USER, testRoot_);
        deleteKeyTree(HKEY_LOCAL_MACHINE, testRoot_);
        configStore().clear();
        scratchDir_.reset();
    }

    // The debug log lines written since the last call.
    std::vector<std::string> newLogLines() {
        std::vector<std::string> lines;
        const char* log = logFileName();
        if (log == nullptr) return lines;
        HANDLE file = CreateFileA(log, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        std::string text;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
        CloseHandle(file);
        lines = splitLines(text);
        for (std::string& line : lines)
            if (!line.empty() && line.back() == '\r') line.pop_back();
        // The log's own header: "Started executable ... at <time>", whose
        // time text brings its own line end.
        std::size_t header = std::min<std::size_t>(lines.size(), 1);
        if (lines.size() > 1 && lines[1].empty()) header = 2;
        std::vector<std::string> fresh(lines.begin() + std::min(lines.size(), header + seenLines_), lines.end());
        seenLines_ = lines.size() - std::min(lines.size(), header);
        return fresh;
    }

    // Files the probes left in their temporary directory.
    std::vector<std::string> probeLeftovers() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA((probeTemp_ + "\\*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
        return names;
    }

    std::string home(const std::string& name) const { return scratch_ + "\\" + name; }

    std::unique_ptr<vexal::testing::ScratchDir> scratchDir_;
    std::string scratch_, probeTemp_, testRoot_;
    JvmRegistryKeys keys_;
    std::size_t seenLines_ = 0;
};

}  // namespace vexal::wintest
