// replaceAll and the variable substitution: the text stays within its
// 8191-byte buffer whatever the pattern, replacement and environment.
#include "fuzz/FuzzSupport.h"
#include "windows/JavaVMLauncher/ClassPath.h"
#include "windows/JavaVMLauncher/VariableSubstitution.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // text, pattern, replacement, exe dir, temp dir, then environment entries
    // separated by "\n".
    const auto field = fuzz::fields(fuzz::bytesOf(data, size), 6);

    std::string replaced = field[0];
    replaceAll(replaced, field[1], field[2]);
    FUZZ_CHECK(replaced.size() <= std::max(field[0].size(), kSubstitutedTextLimit));
    if (field[1].empty()) FUZZ_CHECK(replaced == field[0]);

    std::vector<std::string> environment;
    std::size_t start = 0;
    while (start <= field[5].size()) {
        std::size_t end = field[5].find('\n', start);
        if (end == std::string::npos) end = field[5].size();
        environment.push_back(field[5].substr(start, end - start));
        start = end + 1;
    }
    LauncherVariables variables;
    variables.exeDir = field[3];
    variables.tempDir = field[4];
    std::string text = field[0];
    substituteVariablesWith(text, variables, environment);
    FUZZ_CHECK(text.size() <= kSubstitutedTextLimit);
    return 0;
}
