#include "config/ConfigLoader.h"

#include <cstdio>

#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "config/ElfImage.h"
#include "config/ErrorReport.h"
#include "config/Log.h"
#include "config/linux/FileSource.h"

namespace vexal {

namespace {
std::uint64_t gBlockEnd = 0;
}

std::uint64_t configBlockEnd() { return gBlockEnd; }

// The block starts where the ELF image ends; an image whose headers cannot
// be read counts like a block whose first number cannot be read.
void loadConfigBlock(const std::string& path) {
    std::unique_ptr<ByteSource> file = openOwnExecutableSource(path);
    if (!file) {
        logError("Could not open %s", path.c_str());
        fatalText(kOpenMediaError);
    }
    BlockReadResult result;
    std::uint64_t imageEnd = 0;
    if (elfImageEnd(*file, imageEnd)) {
        file->seek(imageEnd);
        result = readConfigBlockAt(*file, configStore());
    } else {
        result.error = BlockError::ReadInt;
        result.lastError = file->lastError();
    }
    if (result.error == BlockError::ReadInt) {
        std::printf("error %lu\n", result.lastError);
    }
    file.reset();
    if (result.error != BlockError::None) fatalText(blockErrorText(result.error));
    gBlockEnd = result.blockEnd;
    const int type = configInt(id::ExecutableType);
    if (type != 1 && type != 5) useConsoleErrors();
}

}  // namespace vexal
