// The class-path option from the extracted archives, the installer runtime
// archive and the configured items.
#include "windows/JavaVMLauncher/ClassPathLogic.h"

#include "config/ConfigIds.h"
#include "files/PathLogic.h"

namespace vexal {

std::string archivePattern(const std::string& directory, const std::string& extension) {
    const bool dotted = !extension.empty() && extension[0] == '.';
    return directory + "\\*" + (dotted ? "" : ".") + extension;
}

namespace {
constexpr const char* kClassPathOption = "-Djava.class.path=";
}  // namespace

std::string classPathPrefix(const PathStyle& style) { return std::string(kClassPathOption) + style.list; }

std::string finishedClassPath(const std::string& assembled, const PathStyle& style) {
    const std::string head = kClassPathOption;
    if (assembled.compare(0, head.size(), head) != 0) return assembled;
    std::string option = head;
    std::size_t start = head.size();
    while (start <= assembled.size()) {
        std::size_t end = assembled.find(style.list, start);
        if (end == std::string::npos) end = assembled.size();
        if (end > start) {
            if (option.size() > head.size()) option += style.list;
            option.append(assembled, start, end - start);
        }
        start = end + 1;
    }
    return option;
}

bool hasArchiveExtension(const std::string& name, const std::string& extension) {
    const std::string suffix = (!extension.empty() && extension[0] == '.' ? "" : ".") + extension;
    // A name that is nothing but the extension (".jar") is a hidden file, no archive.
    return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void ClassPathAssembler::append(std::string& classPath, const std::string& entry) {
    if (classPath.size() + entry.size() > kClassPathLimit) {
        dropped_.push_back(entry);
        return;
    }
    classPath += entry;
}

std::string ClassPathAssembler::build(const ClassPathConfig& config) {
    std::string classPath = classPathPrefix(services_.style);
    appendEntries(classPath, config);
    return finishedClassPath(classPath, services_.style);
}

void ClassPathAssembler::appendEntries(std::string& classPath, const ClassPathConfig& config) {
    // Every extracted .jar comes before every extracted .zip.
    appendArchives(classPath, config.extractionDir, "jar");
    appendArchives(classPath, config.extractionDir, "zip");
    appendRuntimeJar(classPath, config.launcherKind, config.installRoot);
    for (const std::string& item : splitList(config.items)) {
        appendItem(classPath, item);
        if (failed()) return;
    }
}

void ClassPathAssembler::appendRuntimeJar(std::string& classPath, char launcherKind, const std::string& installRoot) {
    if (launcherKind != 'k') return;
    std::string entry = services_.absolutePath(installRoot);
    // The backslash test looks at the option text as it stands with the
    // root written behind it.
    const std::string& last = entry.empty() ? classPath : entry;
    const PathStyle& style = services_.style;
    if (last.empty() || last.back() != style.dir) entry += style.dir;
    append(classPath, entry + ".korvalith" + style.dir + "kvlruntime.jar" + style.list);
}

bool ClassPathAssembler::appendArchives(std::string& classPath, const std::string& directory,
                                        const std::string& extension) {
    if (!services_.pathExists(directory)) return false;
    for (const std::string& name : services_.listArchives(directory, extension))
        append(classPath, services_.resolveAgainstExeDir(directory + services_.style.dir + name) + services_.style.list);
    return true;
}

void ClassPathAssembler::appendItem(std::string& classPath, const std::string& item) {
    const char type = item[0];
    const bool required = item.size() >= 2 && item[1] == '1';
    std::string text = item.size() > 2 ? item.substr(2) : std::string();
    services_.substituteVariables(text);

    bool found = false;
    if (type == 'D' || type == 'A') {
        const std::string path = services_.resolveAgainstExeDir(text);
        found = services_.pathExists(path);
        append(classPath, path + services_.style.list);
    } else if (type == 'S') {
        const std::string directory = services_.resolveAgainstExeDir(text);
        const bool jars = appendArchives(classPath, directory, "jar");
        const bool zips = appendArchives(classPath, directory, "zip");
        found = jars || zips;
    } else if (type == 'E') {
        std::string value;
        const bool exists = services_.environmentValue(text, value);
        if (!value.empty()) {
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.substr(1, value.size() - 2);
            if (value.empty() || value.back() != services_.style.list) value += services_.style.list;
            append(classPath, value);
            found = true;
        } else if (!required) {
            return;
        } else if (!exists) {
            failure_ = {msg::EnvVarUndefined, "%ENV_VAR_NAME%", text};
            return;
        }
    }
    if (required && !found) failure_ = {msg::ClassPathMissing, "%FILE_NAME%", text};
}

}  // namespace vexal
