#pragma once

namespace vexal {

// Ends the process at once with the given code: standard output and standard
// error are flushed first (texts such as "error %d" would be lost on a pipe
// otherwise), then the platform's immediate exit runs; no library exit
// handlers run and an existing JVM is not shut down first.
[[noreturn]] void exitProcessNow(int code);

// Makes memory exhaustion end the process with "out of memory" on standard
// error and exit code 1.
void installOutOfMemoryHandler();

}  // namespace vexal
