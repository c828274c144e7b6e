#pragma once
#include <string>

namespace vexal {

// Creates one new directory that only the current user may use: owned by
// the user, with a protected DACL (nothing inherited from the parent) whose
// one entry grants the user full access and is inherited by everything made
// inside. The security descriptor is given at creation, so there is no
// moment in which the directory is open to others. False when the
// descriptor cannot be built or the directory cannot be created (also when
// the name exists already).
bool createOwnerOnlyDirectory(const std::string& path);

}  // namespace vexal
