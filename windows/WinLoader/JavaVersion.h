#pragma once
#include <string>
#include <vector>

namespace vexal {

// Java version texts compare piece by piece with inclusive prefix bounds: a
// run of digits is one piece and compares as a number ("1.10" is above "1.5",
// "9" below "17"), every other byte is a piece of its own and compares as an
// unsigned byte. A bound only reaches as far as its own pieces: "1.8" takes in
// "1.8.0_202", and "17" takes in "17.0.15" but not "170".

// The order of two version texts over all their pieces; a text that ends
// first sorts first. Negative, zero or positive.
int compareVersions(const std::string& left, const std::string& right);

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
