#pragma once

#include "files/TempFiles.h"

namespace vexal {

// Seams for tests: besides the tests, only the units that define them
// include this header.

// From now on chooseTempDir works from a copy of sources (null: the
// platform's again).
void overrideTempDirSources(const TempDirSources* sources);

}  // namespace vexal
