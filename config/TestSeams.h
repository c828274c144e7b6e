#pragma once

namespace vexal {

// Seams for tests: besides the tests, only the units that define them
// include this header.

// Forgets all log state: the next line opens a new log when one is wanted.
void resetLogForTests();

}  // namespace vexal
