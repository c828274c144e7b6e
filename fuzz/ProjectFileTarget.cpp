// The TOML project reader: any text either gives a project or a
// ProjectError with a message; nothing else may escape. The project file
// lives in a directory that does not exist and the input may not name
// absolute paths, so no file outside is ever read.
#include "fuzz/FuzzSupport.h"
#include "generator/ProjectFile.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // project text, then --set overrides
    const auto field = fuzz::fields(fuzz::bytesOf(data, size), 4);
    for (const std::string& text : field) {
        if (text.find('/') != std::string::npos || text.find("\\u") != std::string::npos ||
            text.find("\\U") != std::string::npos) {
            return 0;
        }
    }
    std::vector<std::string> overrides;
    for (std::size_t i = 1; i < field.size(); ++i)
        if (!field[i].empty()) overrides.push_back(field[i]);
    try {
        gen::Project project = gen::parseProject(field[0], "/nonexistent-vexal-fuzz/app.toml", overrides);
        project.guiStub();
        project.applicationName();
    } catch (const gen::ProjectError& error) {
        FUZZ_CHECK(error.what()[0] != '\0');
    }
    return 0;
}
