#pragma once
#include <windows.h>

namespace vexal {

// The contract of the platform's GetLongPathNameA: short path, output
// buffer, buffer size -> length (0 on failure, the needed size when the
// buffer is too small).
using LongPathFunction = DWORD(WINAPI*)(LPCSTR shortPath, LPSTR out, DWORD size);

// Calls the process-wide long-path function. It starts out as a resolver:
// the first call looks up GetLongPathNameA in KERNEL32 and keeps it for the
// rest of the run unless it is missing or fails with error 120 (call not
// implemented); then the shell emulation is kept instead.
DWORD callLongPathFunction(LPCSTR shortPath, LPSTR out, DWORD size);

// The shell emulation: the desktop folder parses the full path and the item
// list is turned back into a path. Errors: 111 for a full path of 260
// characters or more, the Win32 code of a parse failure (else 13), 13 when
// the item list has no path, 122 for a short buffer.
DWORD WINAPI emulateLongPathName(LPCSTR shortPath, LPSTR out, DWORD size);

// What the process-wide pointer holds now: the resolver before the first
// call, then the bound function.
LongPathFunction boundLongPathFunction();
LongPathFunction longPathResolver();

// Tests: forget the binding; the next call resolves again and takes
// platformFunction as what the KERNEL32 lookup finds (null: not found).
void resetLongPathBindingForTests(LongPathFunction platformFunction);
// Tests: forget the binding; the next call resolves through KERNEL32 again.
void resetLongPathBindingForTests();

}  // namespace vexal
