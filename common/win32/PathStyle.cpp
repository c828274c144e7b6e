#include "common/PathStyle.h"

namespace vexal {

const PathStyle& platformPathStyle() { return kWindowsPathStyle; }

}  // namespace vexal
