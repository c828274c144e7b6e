#include "common/SecureRandom.h"

#include <windows.h>
#include <ntsecapi.h>

namespace vexal {

bool secureRandomNumber(std::uint64_t& number) {
    // RtlGenRandom (advapi32's SystemFunction036): the source behind the C
    // runtime's rand_s, on every Windows since XP.
    return RtlGenRandom(&number, sizeof number) != FALSE;
}

}  // namespace vexal
