#pragma once
#include <string>
#include <vector>

namespace vexal {

// Java version texts compare as byte strings with inclusive prefix bounds,
// never as numbers ("1.10" is below "1.5").

// The bounds test of a probed or cached version. betaEnabled is entry 130:
// a version containing "beta" fails unless acceptBeta or betaEnabled.
bool versionInRange(const std::string& version, const std::string& minimum, const std::string& maximum,
                    bool acceptBeta, bool betaEnabled);

// The looser test of registry version names (families such as "1.5"): only
// as many bytes as the shorter text holds are compared.
bool versionPrefixInRange(const std::string& name, const std::string& minimum, const std::string& maximum);

// The version text of a -version banner's first line: the text between the
// quotation marks after `java version "` or `openjdk version "`. False for any
// other line.
bool parseVersionBanner(const std::string& firstLine, std::string& version);

}  // namespace vexal
