#include "windows/WinLoader/JavaHomeLayout.h"

namespace vexal {

namespace {

bool isWindows(const PathStyle& style) { return style.dir == '\\'; }

}  // namespace

std::string javaExecutableFileName(const PathStyle& style) { return isWindows(style) ? "java.exe" : "java"; }

std::string jdkJavaExecutable(const std::string& home, const PathStyle& style) {
    const char d = style.dir;
    return home + d + "jre" + d + "bin" + d + javaExecutableFileName(style);
}

std::string homeJavaExecutable(const std::string& home, const PathStyle& style) {
    const char d = style.dir;
    return home + d + "bin" + d + javaExecutableFileName(style);
}

std::string guiJavaExecutable(const std::string& javaExecutable, const PathStyle& style) {
    if (!isWindows(style)) return javaExecutable;
    static const std::string extension = ".exe";
    std::string executable = javaExecutable;
    if (executable.size() >= extension.size() &&
        executable.compare(executable.size() - extension.size(), extension.size(), extension) == 0)
        executable.replace(executable.size() - extension.size(), extension.size(), "w.exe");
    return executable;
}

}  // namespace vexal
