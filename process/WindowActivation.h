#pragma once
#include <cstdint>

namespace vexal {

// The visible top-level windows of a process, not counting the launcher's own
// console window.
int countProcessWindows(std::uint32_t processId);

// Restores and brings to the front every visible top-level window of a
// process; the last one treated ends in front.
void activateProcessWindows(std::uint32_t processId);

// Finds this launcher's console window once, through a unique temporary
// console title; later calls do nothing.
void findConsoleWindow();

}  // namespace vexal
