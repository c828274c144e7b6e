// The class-path item walk over configured items, with fake platform
// services whose answers the input decides. The option never outgrows its
// 8191-byte buffer.
#include "common/PathStyle.h"
#include "fuzz/FuzzSupport.h"
#include "windows/JavaVMLauncher/ClassPathLogic.h"
#include "windows/JavaVMLauncher/VariableSubstitution.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const unsigned char switches = data[0];
    const char kind = static_cast<char>(data[1]);
    // items, extraction directory, install root, archive names ("\n"-separated)
    const auto field = fuzz::fields(fuzz::bytesOf(data + 2, size - 2), 4);

    std::vector<std::string> archives;
    std::size_t start = 0;
    while (start < field[3].size()) {
        std::size_t end = field[3].find('\n', start);
        if (end == std::string::npos) end = field[3].size();
        archives.push_back(field[3].substr(start, end - start));
        start = end + 1;
    }

    ClassPathServices services;
    services.resolveAgainstExeDir = [](const std::string& path) { return "C:\\app\\" + path; };
    services.absolutePath = [](const std::string& path) { return path; };
    services.pathExists = [switches](const std::string& path) {
        return (switches & 1) || (!path.empty() && (static_cast<unsigned char>(path.back()) & 1) == (switches >> 1 & 1));
    };
    services.listArchives = [archives](const std::string&, const std::string&) { return archives; };
    services.environmentValue = [switches](const std::string& name, std::string& value) {
        if (switches & 4) return false;
        value = name + name;
        return true;
    };
    services.substituteVariables = [](std::string& text) {
        LauncherVariables variables;
        variables.exeDir = "C:\\app\\";
        variables.tempDir = "C:\\temp\\vxl_dir1\\";
        substituteVariablesWith(text, variables, {"HOME=C:\\home", "LIB=" + std::string(300, 'l')});
    };
    services.style = (switches & 8) ? kLinuxPathStyle : kWindowsPathStyle;

    ClassPathConfig config;
    config.items = field[0];
    config.extractionDir = field[1];
    config.launcherKind = kind;
    config.installRoot = field[2];

    ClassPathAssembler assembler(services);
    const std::string classPath = assembler.build(config);
    FUZZ_CHECK(classPath.size() <= kClassPathLimit);
    if (assembler.failed()) FUZZ_CHECK(assembler.failure().messageId != 0);
    return 0;
}
