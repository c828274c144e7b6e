#include "files/DeferredDeletion.h"

namespace vexal {

// Temporary files and their deferred deletion arrive with file extraction;
// until then a run leaves nothing behind to register or clean up.
void registerPendingDeletions() {}
void cleanUpDeferredDeletions() {}

}  // namespace vexal
