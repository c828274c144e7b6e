#pragma once
#include <cstddef>

namespace vexal {

// Starts the splash thread for a non-zero show command; zero is a hide request.
void startSplash(int showCommand);

// Hides a visible splash, and keeps one that is not built yet from appearing.
// Safe from any thread, before, during or after the window is built.
void hideSplash();

// Replaces the status line with these UTF-16 characters (no more than length
// are read) and repaints at once; nothing before the window exists. Called on
// the splash thread, and safe from any other.
void setStatusText(const char16_t* text, std::size_t length);

}  // namespace vexal
