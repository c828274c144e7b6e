#pragma once

namespace vexal {

// Starts the splash thread for a non-zero show command; zero is a hide request.
void startSplash(int showCommand);

// Hides a visible splash, and keeps one that is not built yet from appearing.
void hideSplash();

}  // namespace vexal
