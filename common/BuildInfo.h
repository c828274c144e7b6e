#pragma once

namespace vexal {

// The build record of a program: the project version and the commit of its
// sources. Every launcher keeps it in its image as kBuildRecordPrefix, then
// "<version> <commit>", then a zero byte; the generator reads it from there
// (the executable's own version record is the application's).
#define VEXAL_BUILD_RECORD_PREFIX "vexal-build: "
constexpr const char kBuildRecordPrefix[] = VEXAL_BUILD_RECORD_PREFIX;

// "1.0.0": the version of the top CMake project.
const char* projectVersion();

// The commit the sources come from ("0123456789ab", "0123456789ab-dirty"),
// or "unknown" for sources outside git that no archive marked.
const char* sourceCommit();

}  // namespace vexal
