#pragma once
#include <memory>
#include <string>

#include "config/ByteSource.h"
#include "files/IncludedFiles.h"

namespace vexal {

// The file services that the extraction of included files needs from the
// platform.

// The launcher's own executable opened for reading, shared for reading and
// writing, as the block reader opens it; null when it cannot be opened.
std::unique_ptr<ByteSource> openOwnExecutableForReading(const std::string& path);

// Creates a fresh, empty directory of its own for this run's extracted files
// under the temporary directory and returns its path; empty when none could
// be made.
std::string makeExtractionDirectory();

// Creates one new directory; false when it cannot be created (also when it
// exists already).
bool createExtractionDirectory(const std::string& path);

// Deletes the placeholder file that named the extraction directory.
void deleteNameFile(const std::string& path);

// Creates the file anew (an existing one is truncated) for writing, with no
// sharing; null when it cannot be created. Closed when the sink is released.
std::unique_ptr<ByteSink> createExtractedFile(const std::string& path);

// Keeps an extracted file open until the process ends, sharing every kind of
// access, so that the clean-up pass of another launcher (which deletes only
// what it can open for itself alone) leaves it while this run may still use
// it: the Java side opens class-path archives and data files only later,
// some of them never before the run's end.
void holdExtractedFile(const std::string& path);

}  // namespace vexal
