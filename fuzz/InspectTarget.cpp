// `vexal inspect` on any file: the executable is read and both listings are
// made of whatever it holds.
#include "fuzz/FuzzSupport.h"
#include "generator/Inspect.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    gen::Inspection inspection;
    std::string reason;
    if (!gen::inspectExecutable(fuzz::bytesOf(data, size), inspection, reason)) {
        FUZZ_CHECK(!reason.empty());
        return 0;
    }
    FUZZ_CHECK(inspection.blockStart <= inspection.blockEnd && inspection.blockEnd <= size);
    FUZZ_CHECK(!gen::inspectionText(inspection, "app.exe").empty());
    FUZZ_CHECK(!gen::inspectionJson(inspection, "app.exe").empty());
    return 0;
}
