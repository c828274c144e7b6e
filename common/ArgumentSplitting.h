#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace vexal {

// Arguments split from a command-line text; element 0 of the process command
// line is the program name.
using ArgumentList = std::vector<std::u16string>;
using NarrowArgumentList = std::vector<std::string>;

// The splitting rules: a blank separates, double and single quotes group (no
// escapes), tabs are ordinary characters. Each splitter appends to list and
// returns false when a quote is never closed (the arguments before it stay
// in the list); the caller decides what that means.
bool splitArgumentText(const std::u16string& text, ArgumentList& list);
bool splitNarrowText(const std::u16string& text, NarrowArgumentList& list);
bool splitAnsiText(const std::string& text, NarrowArgumentList& list);

// What takeQuotedArgument returns for a quote that is never closed.
constexpr std::size_t kUnclosedQuote = std::u16string::npos;

// Appends the quoted argument that begins at quote position q (argument start
// p) and returns where scanning goes on, or kUnclosedQuote.
std::size_t takeQuotedArgument(ArgumentList& list, const std::u16string& text, std::size_t q, std::size_t p,
                               char16_t quote);

// A narrow (ANSI) copy of a wide argument; characters without an ANSI form
// become "?".
std::string narrowArgument(const std::u16string& argument);

// splitAnsiText converts at most this many wide characters (a buffer of 8192
// with its terminating zero).
constexpr std::size_t kAnsiArgumentChars = 8191;

}  // namespace vexal
