#pragma once

namespace vexal {

// True on the Windows NT family (the wide file functions work there).
bool isNtPlatform();

}  // namespace vexal
