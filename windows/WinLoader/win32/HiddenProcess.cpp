#include "windows/WinLoader/HiddenProcess.h"

#include <windows.h>

#include <vector>

namespace vexal {

ProcessRef startHiddenProcess(const std::vector<std::string>& arguments) {
    // The command line: the arguments joined by blanks.
    std::string commandLine;
    for (const std::string& argument : arguments) {
        if (!commandLine.empty()) commandLine += ' ';
        commandLine += argument;
    }
    // CreateProcessA may write into the command line: give it a copy.
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

void waitForProcessEnd(ProcessRef process) {
    if (process == nullptr) return;
    WaitForSingleObject(static_cast<HANDLE>(process), INFINITE);
    CloseHandle(static_cast<HANDLE>(process));
}

}  // namespace vexal
