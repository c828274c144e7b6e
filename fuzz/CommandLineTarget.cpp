// The arguments part of a process command line: always a tail of it.
#include "fuzz/FuzzSupport.h"
#include "process/InstanceIdentity.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string line = fuzz::utf16Of(fuzz::bytesOf(data, size));
    const std::u16string arguments = commandLineArguments(line);
    FUZZ_CHECK(arguments.size() <= line.size());
    FUZZ_CHECK(line.compare(line.size() - arguments.size(), arguments.size(), arguments) == 0);
    semaphoreNameFromPath(fuzz::bytesOf(data, size));
    return 0;
}
