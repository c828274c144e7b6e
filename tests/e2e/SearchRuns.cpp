#include "tests/e2e/SearchRuns.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "tests/support/ExeBuilder.h"

namespace vexal::testing {

namespace fs = std::filesystem;

std::string fixture(const std::string& relative) {
    return (fs::path(harness().runner).parent_path() / relative).string();
}

void writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

void copyInto(const std::string& from, const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

void addJvmLibrary(const fs::path& bin, const char* variant, const char* library) {
    copyInto(fixture("jvm-standin/jvmcompanion.dll"), bin / "jvmcompanion.dll");
    copyInto(fixture(library), bin / variant / "jvm.dll");
}

void makeRuntime(const fs::path& home, const char* variant, const char* library) {
    writeText(home / "bin" / "java.exe", "");
    if (variant != nullptr) addJvmLibrary(home / "bin", variant, library);
}

SearchRun runSearch(const Launcher& launcher, const ConfigStore& store, const std::vector<std::string>& environment,
                    bool watchBoxes) {
    ExeBuilder(stubPath(StubKind::Gui)).block(store).write(launcher.exe);
    const std::string tmp = launcher.dir + "/tmp";
    fs::remove_all(tmp);  // one log file: this run's
    fs::create_directories(tmp);
    RunnerSpec spec;
    spec.app = launcher.exe;
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(tmp));
    spec.environment.push_back("VEXAL_LOG=yes");
    for (const std::string& entry : environment) {  // an entry of the same name replaces the base one
        const std::string name = entry.substr(0, entry.find('=') + 1);
        auto same = std::find_if(spec.environment.begin(), spec.environment.end(),
                                 [&](const std::string& e) { return e.rfind(name, 0) == 0; });
        if (same != spec.environment.end()) *same = entry;
        else spec.environment.push_back(entry);
    }
    spec.watchBoxes = watchBoxes;
    SearchRun r{runThroughRunner(spec, launcher.dir), {}};
    for (const auto& entry : fs::directory_iterator(tmp)) {
        if (entry.path().filename().string().rfind("kvl_nlog_", 0) != 0) continue;
        r.log = crlfLines(readBinaryFile(entry.path().string()));
        r.log.erase(r.log.begin(), r.log.begin() + std::min<std::size_t>(2, r.log.size()));
    }
    return r;
}

Lines searchLines(const Lines& log) {
    static const char* const kPrefixes[] = {"Searching for", "Has ",          "Using ",     "Testing ",
                                            "Search sequence", "Trying to load", "ERROR: ", "Loading of"};
    Lines lines;
    for (const std::string& line : log) {
        if (line == "launching program") break;  // the launch's own lines follow
        for (const char* prefix : kPrefixes) {
            if (line.rfind(prefix, 0) == 0 ||
                (line.size() > 11 && line.compare(line.size() - 11, 11, ".exe exists") == 0)) {
                lines.push_back(line);
                break;
            }
        }
    }
    return lines;
}

bool contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace vexal::testing
