#include "config/ConfigLoader.h"

#include <cstdio>

#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "config/ErrorReport.h"
#include "config/Log.h"
#include "config/win32/FileSource.h"

namespace vexal {

namespace {
std::uint64_t gBlockEnd = 0;
}

std::uint64_t configBlockEnd() { return gBlockEnd; }

void loadConfigBlock(const std::string& path) {
    FileHandle file = openOwnExecutable(path);
    if (!file) {
        logError("Could not open %s", path.c_str());
        fatalText(kOpenMediaError);
    }
    FileSource source(file.get());
    BlockReadResult result = readConfigBlock(source, kOwnLocator, configStore());
    if (result.error == BlockError::ReadInt) {
        std::printf("error %lu\n", result.lastError);
    }
    if (result.error != BlockError::None) {
        file.reset();
        fatalText(blockErrorText(result.error));
    }
    gBlockEnd = result.blockEnd;
    file.reset();
    const int type = configInt(id::ExecutableType);
    if (type != 1 && type != 5) useConsoleErrors();
}

}  // namespace vexal
