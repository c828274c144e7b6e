#include "tests/support/WineHarness.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vexal::testing {

namespace fs = std::filesystem;

namespace {

std::string setting(const char* name, const char* builtIn) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : builtIn;
}

std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        char next = text[++i];
        out.push_back(next == 'r' ? '\r' : next == 'n' ? '\n' : next);
    }
    return out;
}

// "OWNER class=<class> visible=<0|1> title=<title>" (the class holds no
// spaces; the title runs to the end of the line) or "OWNER none".
void readOwner(const std::string& line, Box& box) {
    const std::string classHead = "OWNER class=", visibleHead = " visible=", titleHead = " title=";
    if (line.compare(0, classHead.size(), classHead) != 0) return;
    const std::size_t visible = line.find(visibleHead, classHead.size());
    const std::size_t title = line.find(titleHead, classHead.size());
    if (visible == std::string::npos || title == std::string::npos || title < visible) return;
    box.owned = true;
    box.ownerClass = unescape(line.substr(classHead.size(), visible - classHead.size()));
    box.ownerVisible = line.compare(visible + visibleHead.size(), 1, "1") == 0;
    box.ownerTitle = unescape(line.substr(title + titleHead.size()));
}

}  // namespace

const HarnessSettings& harness() {
    static const HarnessSettings settings{
        setting("VEXAL_WINE_RUN", VEXAL_DEFAULT_WINE_RUN),
        setting("VEXAL_WINE_SESSION", VEXAL_DEFAULT_WINE_SESSION),
        setting("VEXAL_STUBS_X64", VEXAL_DEFAULT_STUBS_X64),
        setting("VEXAL_RUNNER", VEXAL_DEFAULT_RUNNER),
        setting("VEXAL_E2E_WORK", VEXAL_DEFAULT_E2E_WORK),
    };
    return settings;
}

std::string stubPath(StubKind kind) {
    return harness().stubsX64 + "/vexal-stub-" + stubKindName(kind) + ".exe";
}

const char* stubKindName(StubKind kind) { return kind == StubKind::Gui ? "gui" : "console"; }

std::string freshWorkDir(const std::string& name) {
    fs::path dir = fs::path(harness().workRoot) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return fs::absolute(dir).string();
}

std::string windowsPath(const std::string& unixPath) {
    std::string out = "Z:";
    for (char c : unixPath) out.push_back(c == '/' ? '\\' : c);
    return out;
}

std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string textMode(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

ProcessResult wineRun(const std::vector<std::string>& args, std::chrono::milliseconds limit) {
    std::vector<std::string> argv{harness().wineRun, harness().session};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProcess(argv, {}, {"VEXAL_LOG", "KORVALITH_LOG"}, limit);
}

std::string RunnerSpec::commandLine() const {
    if (!exactCommandLine.empty()) return exactCommandLine;
    std::string line = "\"" + windowsPath(app) + "\"";
    if (!arguments.empty()) line += " " + arguments;
    return line;
}

std::string RunnerSpec::render() const {
    std::ostringstream spec;
    spec << "app=" << windowsPath(app) << "\n";
    spec << "cmdline=" << commandLine() << "\n";
    for (const auto& entry : environment) spec << "env=" << entry << "\n";
    if (watchBoxes) spec << "watch-boxes=yes\n";
    if (boxHoldMs != 0) spec << "box-hold-ms=" << boxHoldMs << "\n";
    if (showWindow >= 0) spec << "show=" << showWindow << "\n";
    if (!consoleTitle.empty()) spec << "console-title=" << consoleTitle << "\n";
    spec << "timeout-ms=" << timeoutMs << "\n";
    if (reportCpu) spec << "report-cpu=yes\n";
    return spec.str();
}

std::vector<std::string> baseEnvironment() {
    return {"SystemRoot=C:\\windows", "PATH=C:\\windows\\system32;C:\\windows"};
}

namespace {
std::vector<std::string> runnerCommand(const RunnerSpec& spec, const std::string& workDir) {
    const std::string specPath = workDir + "/run.spec";
    std::ofstream(specPath, std::ios::binary | std::ios::trunc) << spec.render();
    return {harness().wineRun, harness().session, harness().runner, windowsPath(specPath)};
}
}  // namespace

ProcessResult runThroughRunner(const RunnerSpec& spec, const std::string& workDir,
                               std::chrono::milliseconds limit) {
    return runProcess(runnerCommand(spec, workDir), {}, {}, limit);
}

std::unique_ptr<Subprocess> startThroughRunner(const RunnerSpec& spec, const std::string& workDir) {
    return std::make_unique<Subprocess>(runnerCommand(spec, workDir));
}

std::vector<Box> reportedBoxes(const std::string& runnerOutput) {
    std::vector<Box> boxes;
    std::istringstream lines(runnerOutput);
    std::string line;
    const std::string head = "BOX caption=", middle = " text=";
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!boxes.empty() && line.compare(0, 6, "OWNER ") == 0) {
            readOwner(line, boxes.back());
            continue;
        }
        if (!boxes.empty() && line.compare(0, 5, "HELD ") == 0) {
            boxes.back().upAfterHold = line.find(" up=1") != std::string::npos;
            boxes.back().ownedAfterHold = line.find(" owned=1") != std::string::npos;
            continue;
        }
        if (line.compare(0, head.size(), head) != 0) continue;
        // The caption is escaped and holds no " text=" of its own in these
        // tests; the text runs to the end of the line.
        std::size_t split = line.find(middle, head.size());
        if (split == std::string::npos) continue;
        Box box;
        box.caption = unescape(line.substr(head.size(), split - head.size()));
        box.text = unescape(line.substr(split + middle.size()));
        boxes.push_back(box);
    }
    return boxes;
}

std::string sessionVariable(const std::string& name) {
    std::ifstream env(harness().session + "/env");
    std::string line;
    const std::string head = "export " + name + "=";
    while (std::getline(env, line)) {
        if (line.compare(0, head.size(), head) != 0) continue;
        std::string value = line.substr(head.size());
        if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::string();
}

}  // namespace vexal::testing
