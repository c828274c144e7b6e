// Interim: the location tests, until their own unit lands. A Java home is
// resolved, prepared and its executable derived; no version is checked yet,
// so only the bundle pass (which skips the check) can pass.
#include "files/PathHelpers.h"
#include "windows/WinLoader/JavaCheck.h"
#include "windows/WinLoader/PackedJre.h"

namespace vexal {

std::string javaExeForHome(const std::string& home) {
    const std::string jdk = home + "\\jre\\bin\\java.exe";
    return pathExists(jdk) ? jdk : home + "\\bin\\java.exe";
}

bool checkJavaHome(std::string& javaExecutable, const std::string& directory, const std::string&, const std::string&,
                   bool skipVersionCheck) {
    const std::string home = absolutePath(directory, false);
    prepareJre(home);
    javaExecutable = javaExeForHome(home);
    return skipVersionCheck;
}

bool checkJavaEnvVar(std::string&, const std::string&, const std::string&, const std::string&) { return false; }

bool checkJavaOnPath(std::string&, const std::string&, const std::string&) { return false; }

}  // namespace vexal
