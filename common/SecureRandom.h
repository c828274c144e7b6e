#pragma once
#include <cstdint>

namespace vexal {

// A number from the system's cryptographic random source, for names that
// another user must not be able to guess. False when the source fails.
bool secureRandomNumber(std::uint64_t& number);

}  // namespace vexal
