#pragma once
#include <cstddef>
#include <string>

#include "launcher/Arguments.h"

namespace vexal {

// The splitting rules without the process exit: each returns false when a
// quote is never closed (the arguments before it stay in the list), and the
// caller decides what that means. takeQuotedArgument returns
// kUnclosedQuote in that case.
constexpr std::size_t kUnclosedQuote = std::u16string::npos;

bool splitArgumentText(const std::u16string& text, ArgumentList& list);
bool splitNarrowText(const std::u16string& text, NarrowArgumentList& list);
bool splitAnsiText(const std::string& text, NarrowArgumentList& list);

// A narrow (ANSI) copy of a wide argument; characters without an ANSI form
// become "?".
std::string narrowArgument(const std::u16string& argument);

// splitAnsiText converts at most this many wide characters (a buffer of 8192
// with its terminating zero).
constexpr std::size_t kAnsiArgumentChars = 8191;

}  // namespace vexal
