#pragma once

namespace vexal {

// Seams for tests: besides the tests, only the units that define them
// include this header.

// One splash per process: waits at most timeoutMs for the splash thread to
// end (true when none runs), and forgets it so that another splash can start.
bool waitForSplashEnd(unsigned timeoutMs);
void resetSplash();

// Forgets the controller's environment, class and method ids (one splash
// thread polls per process).
void resetSplashController();

}  // namespace vexal
