// The splitters as the launch uses them: a quote that is never closed ends
// the process with message 1007.
#include "config/CheckedSplitting.h"

#include "config/ConfigIds.h"
#include "config/ErrorReport.h"

namespace vexal {

void splitArguments(const std::u16string& text, ArgumentList& list) {
    if (!splitArgumentText(text, list)) fatalError(msg::WrongParameter);
}

void splitNarrowArguments(const std::u16string& text, NarrowArgumentList& list) {
    if (!splitNarrowText(text, list)) fatalError(msg::WrongParameter);
}

void splitAnsiArguments(const std::string& text, NarrowArgumentList& list) {
    if (!splitAnsiText(text, list)) fatalError(msg::WrongParameter);
}

}  // namespace vexal
