#include "common/BuildInfo.h"

#include "ProjectVersion.h"
#include "SourceCommit.h"

// The record in the image, under a C name that the link keeps (see
// cmake/BuildInfo.cmake); prefix, version and commit in one literal.
extern "C" const char vexalBuildRecord[] = VEXAL_BUILD_RECORD_PREFIX VEXAL_VERSION_TEXT " " VEXAL_COMMIT;

namespace vexal {

const char* projectVersion() { return VEXAL_VERSION_TEXT; }

const char* sourceCommit() { return VEXAL_COMMIT; }

}  // namespace vexal
