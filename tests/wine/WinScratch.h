#pragma once
#include <windows.h>

#include <string>

namespace vexal::testing {

// A fresh directory under the temporary directory, removed with its
// contents when the object goes.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }  // no trailing backslash

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& content);

// Runs a command line with its standard output captured; the child inherits
// this process's environment and current directory.
std::string runChild(const std::string& commandLine);

}  // namespace vexal::testing
