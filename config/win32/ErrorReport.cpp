#include "config/ErrorReport.h"

#include <windows.h>

#include <cstdio>

namespace vexal {

void displayErrorBox(const std::string& caption, const std::string& text, WindowRef owner) {
    MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

void writeErrorLine(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

}  // namespace vexal
