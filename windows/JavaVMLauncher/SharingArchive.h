#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace vexal {

// Class-data sharing managed for the user (entry 154 "auto"): the launcher
// keeps one archive of the application's classes per executable and runtime
// in the per-user cache, made by the JVM at the end of a run without one and
// used by the runs after it.

// Inserts this run's sharing options into options at position at (behind
// the launcher properties, so that every option of the user's follows them),
// or none: when the entry is off, when an option of the user's (or
// JAVA_TOOL_OPTIONS) already decides sharing, when the runtime keeps no
// archive, when the class path holds a directory with files in it (the JVM
// archives jar files only), or when the cache cannot be had. Every decision
// is logged. A run that writes an archive installs the JVM exit action that
// puts it in place.
void addClassDataSharingOptions(std::vector<std::string>& options, std::size_t at);

// Puts the archive that this run's JVM has written under its final name, or
// removes what it left when it wrote none. Runs once: at the JVM's exit
// (System.exit) or after DestroyJavaVM, whichever comes first.
void finishClassDataArchive();

}  // namespace vexal
