#include "windows/WinLoader/LoadDLL.h"

#include "config/ConfigIds.h"
#include "config/ErrorReport.h"
#include "config/Log.h"

namespace vexal {

// The locations are not searched yet: nothing is found.
JvmOrigin searchJvm(std::string&, std::string&) {
    logDebug("Searching for a JVM");
    return JvmOrigin::None;
}

bool LoadDLL() {
    logDebug("LoadDLL (%d, %s, %d)", 1, "(null)", 0);
    JvmLocation location;
    location.origin = searchJvm(location.javaExecutable, location.detail);
    if (location.origin == JvmOrigin::None) {
        logError("No JVM found");
        showConfigMessage(msg::NoJvm, nullptr, "");
        return false;
    }
    return false;
}

}  // namespace vexal
