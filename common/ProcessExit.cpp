#include "common/ProcessExit.h"

#include <cstdio>
#include <new>

namespace vexal {

namespace {
void outOfMemory() {
    std::fputs("out of memory\n", stderr);
    exitProcessNow(1);
}
}  // namespace

void installOutOfMemoryHandler() { std::set_new_handler(outOfMemory); }

}  // namespace vexal
