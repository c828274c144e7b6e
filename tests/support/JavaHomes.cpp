#include "tests/support/JavaHomes.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/support/WineHarness.h"

namespace fs = std::filesystem;

namespace vexal::testing {

StandinJava standinVersion(const std::string& version) { return {"java version \"" + version + "\"", "0"}; }

std::string standinDirectory() { return (fs::path(harness().runner).parent_path() / "java-standin").string(); }

void configureStandin(const std::string& binDir, const StandinJava& standin) {
    std::ofstream config(fs::path(binDir) / "standin.cfg", std::ios::binary | std::ios::trunc);
    config << standin.banner << "\r\n" << standin.ending << "\r\n";
    if (!config) throw std::runtime_error("cannot configure the stand-in in " + binDir);
}

void makeStandinBin(const std::string& binDir, const StandinJava& standin, bool withJavaw) {
    fs::create_directories(binDir);
    const auto overwrite = fs::copy_options::overwrite_existing;
    fs::copy_file(fs::path(standinDirectory()) / "java.exe", fs::path(binDir) / "java.exe", overwrite);
    if (withJavaw) fs::copy_file(fs::path(standinDirectory()) / "javaw.exe", fs::path(binDir) / "javaw.exe", overwrite);
    configureStandin(binDir, standin);
}

std::string makeJavaHome(const std::string& home, JavaLayout layout, const StandinJava& standin, bool withJavaw) {
    makeStandinBin(home + "/bin", standin, withJavaw);
    if (layout == JavaLayout::Jre) return home + "/bin/java.exe";
    makeStandinBin(home + "/jre/bin", standin, withJavaw);
    return home + "/jre/bin/java.exe";
}

std::vector<std::string> standinRuns(const std::string& binDir) {
    std::vector<std::string> runs;
    std::ifstream log(fs::path(binDir) / "ran.log", std::ios::binary);
    std::string line;
    while (std::getline(log, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        runs.push_back(line);
    }
    return runs;
}

}  // namespace vexal::testing
