#include "splash/Splash.h"

namespace vexal {

// The splash window is not built yet: no thread, nothing to hide.
void startSplash(int) {}
void hideSplash() {}
void setStatusText(const char16_t*, std::size_t) {}

}  // namespace vexal
