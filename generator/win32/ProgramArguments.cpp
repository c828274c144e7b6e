#include "generator/ProgramArguments.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

#include "generator/win32/WideText.h"

namespace vexal {
namespace gen {

namespace {
UINT consoleOutputPage = 0;

void restoreConsoleOutput() { SetConsoleOutputCP(consoleOutputPage); }
}  // namespace

std::vector<std::string> programArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(utf8Text(wide[i]));
    LocalFree(wide);
    return arguments;
}

void prepareTextOutput() {
    // Only a console has a code page to set; a pipe or file takes the
    // UTF-8 bytes as they are.
    DWORD mode = 0;
    if (!GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) &&
        !GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode)) {
        return;
    }
    consoleOutputPage = GetConsoleOutputCP();
    if (consoleOutputPage == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;
    std::atexit(restoreConsoleOutput);
}

}  // namespace gen
}  // namespace vexal
