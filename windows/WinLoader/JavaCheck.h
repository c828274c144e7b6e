#pragma once
#include <string>

namespace vexal {

// The test of one Java launcher executable: it exists, its runtime is built
// for the launcher's machine (else "<path> is not a 64-bit runtime" is
// logged), its version (cached
// or probed) lies within the bounds, and with entry 107 = 1 the javaw.exe
// beside it exists. On return javaExecutable holds the absolute lower-case
// path that was tested (or the javaw.exe path).
bool checkJavaExe(std::string& javaExecutable, std::string& version, const std::string& minimum,
                  const std::string& maximum, bool acceptBeta);

// home + "\jre\bin\java.exe" when that exists (a JDK), else home + "\bin\java.exe"
// (home/jre/bin/java, home/bin/java on Linux).
std::string javaExeForHome(const std::string& home);

// A Java home directory (search letters A, B, R, location files, bundle
// pass): resolved, a packed runtime prepared, then checked (beta accepted).
// With skipVersionCheck only the runtime's architecture is tested.
bool checkJavaHome(std::string& javaExecutable, const std::string& directory, const std::string& minimum,
                   const std::string& maximum, bool skipVersionCheck);

// A Java home held in an environment variable (taken literally).
bool checkJavaEnvVar(std::string& javaExecutable, const std::string& variable, const std::string& minimum,
                     const std::string& maximum);

// java.exe found on the executable search path.
bool checkJavaOnPath(std::string& javaExecutable, const std::string& minimum, const std::string& maximum);

// Runs executable -version with standard error captured to a fresh "vxl"
// temporary file; at most 10 s. True when the first line names a version.
bool probeJavaVersion(const std::string& executable, std::string& version);

// The first file of that name in the absolute directories of PATH, in their
// order (executableSearchDirectories). Neither the launcher's folder nor the
// current directory is searched.
bool searchExecutable(const std::string& fileName, std::string& found);

}  // namespace vexal
