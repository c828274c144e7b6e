#pragma once
#include <string>

namespace vexal {

// The argument text of a process command line: leading blanks and tabs, the
// program name (up to the matching closing double quote when the line begins
// with one, else up to the next blank or tab) and the blanks and tabs after
// it are skipped; the rest is returned. A quoted name may be followed
// directly by the first argument.
std::string argumentTextOf(const std::string& commandLine);

}  // namespace vexal
