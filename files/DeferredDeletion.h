#pragma once

namespace vexal {

// Enters every file and directory this run extracted in the deferred
// deletion list, so that a later run removes them.
void registerPendingDeletions();

// Deletes what earlier runs left behind, where nothing holds it any more.
void cleanUpDeferredDeletions();

}  // namespace vexal
