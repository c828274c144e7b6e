#include "launcher/Arguments.h"

namespace vexal {

// The command-line splitter arrives with the JVM launch; until then no stage
// after the JVM search runs.
void splitArguments(const std::u16string&, ArgumentList&) {}

}  // namespace vexal
