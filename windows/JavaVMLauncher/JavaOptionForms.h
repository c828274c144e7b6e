#pragma once
#include <string>
#include <vector>

namespace vexal {

// The java command takes the module options as one argument
// ("--add-opens=java.base/java.lang=ALL-UNNAMED") or as two ("--add-opens",
// "java.base/java.lang=ALL-UNNAMED"); the JVM knows only the first form. And
// some options are the java command's own (-cp, -jar, -showversion,
// @argfiles ...): a JVM created with unrecognised options ignored drops them
// without a word.
struct JavaOptionForms {
    std::vector<std::string> options;       // with the two-item forms joined
    std::vector<std::string> launcherOnly;  // left out, each with its value
};

// Reviews one source of options (a .vmoptions file, the configured options,
// the "-J" arguments); a pair never spans two sources.
JavaOptionForms reviewJavaOptions(const std::vector<std::string>& options);

// What to write instead of a launcher-only option (as reviewJavaOptions
// lists it); empty for any other option.
std::string launcherOnlyAdvice(const std::string& option);

}  // namespace vexal
