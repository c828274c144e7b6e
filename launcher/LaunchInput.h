#pragma once
#include <functional>
#include <string>

#include "common/ArgumentSplitting.h"

namespace vexal {

// What a platform's entry point hands to the launch: each platform builds it
// from what its start-up gives it, so no platform has to fake another's
// command line.
struct LaunchInput {
    // The executable's instance handle (Windows), else null.
    void* instance = nullptr;
    // The arguments as one text without the program name, in the ANSI code
    // page: the internal switch is looked for at its start.
    std::string argumentText;
    // The arguments as a later start hands them to the running instance: the
    // communication file's one line, which the Java side splits.
    std::u16string handOverText;
    // The show-window code of the start-up information (Windows), else 0.
    int showCommand = 0;
    // The arguments for main, the program name first. Called once, after the
    // JVM library is loaded: Windows splits its wide command line there (an
    // unclosed quote ends the run with message 1007 at that stage), Linux
    // gives its argv as the kernel handed it over.
    std::function<ArgumentList()> arguments;
};

}  // namespace vexal
