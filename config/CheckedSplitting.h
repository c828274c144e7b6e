#pragma once
#include <string>

#include "common/ArgumentSplitting.h"

namespace vexal {

// The splitters as the launch uses them: the same rules, and a quote that is
// never closed ends the process with message 1007.

// Appends every argument of text to list.
void splitArguments(const std::u16string& text, ArgumentList& list);

// splitArguments, then a narrow (ANSI) copy of every element.
void splitNarrowArguments(const std::u16string& text, NarrowArgumentList& list);

// An ANSI text (at most 8192 wide characters after conversion) split into
// narrow arguments.
void splitAnsiArguments(const std::string& text, NarrowArgumentList& list);

}  // namespace vexal
