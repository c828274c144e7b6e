#include "config/ErrorReport.h"

#include <cstdio>

namespace vexal {

namespace {

// Configured messages carry Windows line ends; a terminal here shows a bare
// line feed as the line end, and the carriage return as a stray character.
std::string unixLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace

// No message boxes here: a message goes to standard error, its caption first.
void displayErrorBox(const std::string& caption, const std::string& text, WindowRef) {
    std::fprintf(stderr, "%s: %s\n", unixLineEnds(caption).c_str(), unixLineEnds(text).c_str());
    std::fflush(stderr);
}

void writeErrorLine(const std::string& text) {
    std::fprintf(stderr, "%s\n", unixLineEnds(text).c_str());
    std::fflush(stderr);
}

}  // namespace vexal
