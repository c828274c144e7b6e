#include "windows/WinLoader/HiddenProcess.h"

#include <windows.h>

#include "windows/WinLoader/ProgramCommandLine.h"

namespace vexal {

ProcessRef startHiddenProcess(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return nullptr;
    // CreateProcessA may write into the command line: give it a copy. The
    // program is named as the application, so no part of a path with blanks
    // can be taken for another program.
    std::string command = programCommandLine(arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(arguments[0].c_str(), &command[0], nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &info))
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
