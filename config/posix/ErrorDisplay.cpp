#include <cstdio>

#include "config/ErrorReport.h"

namespace vexal {

// No message boxes here: a message goes to standard error, its caption first.
void displayErrorBox(const std::string& caption, const std::string& text, WindowRef) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

void writeErrorLine(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

}  // namespace vexal
