#include "common/ProcessExit.h"

#include <unistd.h>

#include <cstdio>

namespace vexal {

void exitProcessNow(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(code);
}

}  // namespace vexal
