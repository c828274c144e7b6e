#include "generator/ProgramRun.h"

#include <windows.h>

#include "common/win32/Handle.h"
#include "generator/CommandLineText.h"
#include "generator/HostEnvironment.h"
#include "generator/PathText.h"
#include "generator/win32/WideText.h"

namespace vexal {
namespace gen {

namespace fs = std::filesystem;

int runProgram(const std::vector<std::string>& command, std::string& output) {
    output.clear();
    if (command.empty()) return -1;
    // The program by its full path, given as the application name: never
    // looked for in the current directory, never split at a blank.
    fs::path program = pathFromUtf8(command[0]);
    if (!program.has_parent_path()) program = findProgramOnPath(command[0]);
    if (program.empty()) return -1;
    std::vector<std::string> arguments = command;
    arguments[0] = pathText(program);

    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    KernelHandle readEnd, writeEnd;
    if (!CreatePipe(readEnd.out(), writeEnd.out(), &inherited, 0)) return -1;
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    FileHandle nothing(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                   OPEN_EXISTING, 0, nullptr));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing.get();
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    std::wstring application = program.wstring();
    std::wstring line = wideText(windowsCommandLine(arguments));  // CreateProcessW may write to it
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    // Only the child holds the write end now: the pipe ends when it does.
    writeEnd.reset();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
    WaitForSingleObject(processHandle.get(), INFINITE);
    DWORD code = 0;
    if (!GetExitCodeProcess(processHandle.get(), &code)) return -1;
    return static_cast<int>(code);
}

}  // namespace gen
}  // namespace vexal
