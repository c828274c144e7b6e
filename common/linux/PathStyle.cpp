#include "common/PathStyle.h"

namespace vexal {

const PathStyle& platformPathStyle() { return kLinuxPathStyle; }

}  // namespace vexal
