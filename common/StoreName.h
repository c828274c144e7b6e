#pragma once
#include <string>

namespace vexal {

// A file name under which a per-user store keeps an entry for a key such as
// an executable's path: "%" and "/" become "%25" and "%2F", so different keys
// give different names and no name leaves the store's directory; a name
// that would pass 200 bytes keeps its last 180 bytes behind a 16-digit hash
// of the whole key. "." and ".." get a leading "%".
std::string storeFileName(const std::string& key);

// The per-user state directory of the launcher, with its trailing "/":
// XDG_STATE_HOME (when it is an absolute path) + "/vexal/", else
// home + "/.local/state/vexal/". Empty when neither gives an absolute path.
std::string stateDirectoryFrom(const std::string& xdgStateHome, const std::string& home);

}  // namespace vexal
