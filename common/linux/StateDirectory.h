#pragma once
#include <string>

namespace vexal {

// The launcher's per-user store ($XDG_STATE_HOME/vexal/, else
// ~/.local/state/vexal/), created with mode 0700 where missing, with its
// trailing "/". Empty when it cannot be had: callers then keep nothing.
std::string stateDirectory();

// stateDirectory() + sub + "/", created 0700 where missing; empty on failure.
std::string stateSubdirectory(const char* sub);

// Creates every missing directory of path with mode 0700. True when path is
// a directory afterwards.
bool makeDirectories(const std::string& path);

}  // namespace vexal
