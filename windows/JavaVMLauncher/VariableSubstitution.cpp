// Launcher variables and "${NAME}" environment references in configured texts.
#include "windows/JavaVMLauncher/VariableSubstitution.h"

#include <cctype>

#include "windows/JavaVMLauncher/ClassPath.h"

namespace vexal {

void replaceAll(std::string& text, const std::string& pattern, const std::string& replacement) {
    if (pattern.empty()) return;
    std::size_t at = text.find(pattern);
    while (at != std::string::npos) {
        text.replace(at, pattern.size(), replacement);
        std::size_t next = at + replacement.size();
        if (text.size() > kSubstitutedTextLimit) {
            // The text no longer fits its buffer: it keeps the bytes that fit
            // and nothing behind them is searched any more.
            text.resize(kSubstitutedTextLimit);
            return;
        }
        at = text.find(pattern, next);
    }
}

namespace {

std::string upperCased(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

void substituteVariablesWith(std::string& text, const LauncherVariables& variables,
                             const std::vector<std::string>& environmentBlock) {
    if (text.size() > kSubstitutedTextLimit) text.resize(kSubstitutedTextLimit);
    const std::string& separator = variables.listSeparator;
    const struct {
        const char* pattern;
        const std::string& value;
    } launcherPatterns[] = {
        {"%VEXAL_EXEDIR%", variables.exeDir},
        {"%KORVALITH_EXEDIR%", variables.exeDir},
        {"%VEXAL_TEMPDIR%", variables.tempDir},
        {"%KORVALITH_TEMPDIR%", variables.tempDir},
        {"%VEXAL_PATHLIST_SEPARATOR%", separator},
        {"%KORVALITH_PATHLIST_SEPARATOR%", separator},
        {"${VEXAL_EXEDIR}", variables.exeDir},
        {"${KORVALITH_EXEDIR}", variables.exeDir},
        {"${VEXAL_TEMPDIR}", variables.tempDir},
        {"${KORVALITH_TEMPDIR}", variables.tempDir},
        {"${VEXAL_PATHLIST_SEPARATOR}", separator},
        {"${KORVALITH_PATHLIST_SEPARATOR}", separator},
    };
    for (const auto& variable : launcherPatterns) replaceAll(text, variable.pattern, variable.value);

    for (const std::string& whole : environmentBlock) {
        const std::string entry = whole.substr(0, kSubstitutedTextLimit);
        const std::size_t equals = entry.find('=');
        if (equals == std::string::npos) continue;
        const std::string value = entry.substr(equals + 1);
        const std::string pattern = "${" + entry.substr(0, equals) + "}";
        replaceAll(text, pattern, value);
        replaceAll(text, upperCased(pattern), value);
    }
}

}  // namespace vexal
