#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "common/ArgumentSplitting.h"

namespace vexal {

// One read of a .vmoptions line takes at most this many bytes (a buffer of
// 8192 with its terminating zero).
constexpr std::size_t kVmOptionsReadBytes = 8191;

// The lines of a .vmoptions stream: each read of at most 8191 bytes is one
// option, with its trailing CR/LF run removed; empty lines stay.
std::vector<std::string> readVmOptionsLines(std::FILE* stream);

// True for a "-J" argument: one that begins with exactly "-J".
bool isJArgument(const std::u16string& argument);

// The options of the "-J" arguments: every element that begins with exactly
// "-J", without those two characters, as ANSI text ("?" for what has no
// ANSI form), in command-line order.
std::vector<std::string> jArgumentOptions(const ArgumentList& arguments);

// The property that java sets for the tools that list Java processes (jps,
// jcmd): "-Dsun.java.command=" with the main class, then each argument that
// main receives after a blank: the configured program arguments as they are
// written, then the command line's, without its program token and, when
// dropJ, without its "-J" arguments.
std::string javaCommandProperty(const std::string& mainClass, const std::string& programArguments,
                                const ArgumentList& commandLine, bool dropJ);

// The option list in its fixed order.
std::vector<std::string> orderVmOptions(const std::vector<std::string>& launcherProperties,
                                        const std::vector<std::string>& vmOptionsLines, const std::string& classPath,
                                        const std::vector<std::string>& vmParameters,
                                        const std::vector<std::string>& jOptions);

}  // namespace vexal
