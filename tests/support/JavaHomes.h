#pragma once
// Java homes of stand-in runtimes for the end-to-end tests, laid out in the
// host file system that the Wine session sees as drive Z:. The stand-ins
// (fixtures/java-standin, built beside the runner) print the banner of their
// "standin.cfg" on standard error, exit with its code or hang, and append
// their command line to "ran.log" beside themselves on every run.
#include <string>
#include <vector>

namespace vexal::testing {

struct StandinJava {
    std::string banner = "java version \"1.5.0_06\"";  // first line on standard error
    std::string ending = "0";                         // exit code, or "hang"
};

// A stand-in that reports `java version "<version>"` and exits with 0.
StandinJava standinVersion(const std::string& version);

// Where the built java.exe and javaw.exe of the stand-in are.
std::string standinDirectory();

enum class JavaLayout {
    Jdk,  // home/jre/bin/java.exe and home/bin/java.exe
    Jre,  // home/bin/java.exe
};

// A bin directory with the stand-in java.exe (and javaw.exe) and its
// configuration.
void makeStandinBin(const std::string& binDir, const StandinJava& standin, bool withJavaw = false);

// (Re)writes the configuration of the stand-ins of a bin directory.
void configureStandin(const std::string& binDir, const StandinJava& standin);

// Lays out a Java home; returns the host path of the java.exe that the
// search tests (jre/bin for a JDK).
std::string makeJavaHome(const std::string& home, JavaLayout layout, const StandinJava& standin,
                         bool withJavaw = false);

// The command lines the stand-ins of a bin directory recorded, one a run.
std::vector<std::string> standinRuns(const std::string& binDir);

}  // namespace vexal::testing
