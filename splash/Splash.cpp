#include "splash/Splash.h"

namespace vexal {

// The splash window is not built yet: no thread, nothing to hide.
void startSplash(int) {}
void hideSplash() {}

}  // namespace vexal
