#include "common/ProcessExit.h"

#include <windows.h>

#include <cstdio>

namespace vexal {

void exitProcessNow(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    ExitProcess(static_cast<UINT>(code));  // not reached; keeps the contract
}

}  // namespace vexal
