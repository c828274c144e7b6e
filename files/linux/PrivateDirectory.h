#pragma once
#include <string>

namespace vexal {

// The launcher's private per-user place for what a run makes and another
// local user must neither read, plant nor swap: the extraction directories
// and the single-instance hand-over file. With its trailing "/".
//
// $XDG_RUNTIME_DIR/vexal/ when XDG_RUNTIME_DIR names a directory of this
// user that nobody else may enter (the session's own place, which the system
// makes anew for every boot and removes at logout); otherwise vexal-<uid>/ in
// the temporary directory ($TMPDIR or /tmp). Made with mode 0700 when
// missing; used only when it is a directory (never a link) owned by this
// user with mode 0700. Empty when it cannot be had (another user holds the
// name, or nothing is writable). Decided once per process.
const std::string& privateDirectory();

// The decision above for given places (tests, and the once-per-process value
// above): runtimeDir as XDG_RUNTIME_DIR, tempDir the temporary directory with
// its trailing "/". Creates the directory where missing.
std::string choosePrivateDirectory(const std::string& runtimeDir, const std::string& tempDir);

}  // namespace vexal
