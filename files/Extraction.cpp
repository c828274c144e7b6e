#include "files/Extraction.h"

#include <cstdio>
#include <limits>

#include "common/PathStyle.h"
#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "config/ConfigLoader.h"
#include "config/ConfigStore.h"
#include "config/ErrorReport.h"
#include "config/Log.h"
#include "files/DeferredDeletion.h"
#include "files/ExtractionFiles.h"
#include "files/PathHelpers.h"
#include "files/StableFiles.h"
#include "files/TempFiles.h"

namespace vexal {

std::string& extractionDir() {
    static std::string directory;
    return directory;
}

bool copyFileData(ByteSource& source, ByteSink& target, std::uint64_t size, bool unscramble) {
    switch (copyRecordData(source, target, size, unscramble)) {
        case CopyResult::Done:
            return true;
        case CopyResult::ReadFailed:
            logError("ReadFile failed");
            return false;
        case CopyResult::WriteFailed:
            break;
    }
    logError("WriteFile failed");
    internalError(InternalErrorCode::IncludedFileNotWritten);
}

bool extractFile(ByteSource& executable, const std::string& path) {
    std::int32_t size = 0;
    if (!readInt(executable, size)) {
        std::printf("error %lu\n", executable.lastError());
        fatalText(blockErrorText(BlockError::ReadInt));
    }
    logDebug("extracting %s (size: %d)", path.c_str(), static_cast<int>(size));
    if (size <= 0) return true;
    // A size beyond what the executable still holds is a read failure,
    // found before a partial file is created.
    if (!sourceHolds(executable, static_cast<std::uint64_t>(size))) {
        logError("ReadFile failed");
        return false;
    }
    std::unique_ptr<ByteSink> target = createExtractedFile(path);
    if (!target) internalError(InternalErrorCode::IncludedFileNotCreated);
    if (!copyFileData(executable, *target, static_cast<std::uint64_t>(size), true)) return false;
    target.reset();
    holdExtractedFile(path);
    return true;
}

bool extractIncludedFiles(std::string& directory) {
    logDebug("extracting files");
    const std::int32_t count = configInt(id::IncludedFileCount);
    logDebug("Included files: %d", static_cast<int>(count));
    if (count <= 0) {
        directory.clear();
        return true;
    }

    const std::string& exePath = ownExePath();
    std::unique_ptr<ByteSource> executable = openOwnExecutableForReading(exePath);
    if (!executable) {
        logError("Could not open %s", exePath.c_str());
        fatalText(kOpenMediaError);
    }
    executable->seek(configBlockEnd());

    // With class-data sharing on, the files come from their stable place in
    // the per-user cache; a fresh directory when that cannot be had.
    if (wantsStableIncludedFiles()) {
        const std::vector<std::string> names =
            includedFileNames(configString(id::IncludedFileNames, std::numeric_limits<std::size_t>::max()));
        if (placeIncludedFilesStably(*executable, names, count, directory)) {
            logDebug("extracting files done");
            return true;
        }
        executable->seek(configBlockEnd());
    }

    directory = makeExtractionDirectory();
    logDebug("Temp dir: %s", directory.c_str());
    if (directory.empty()) internalError(InternalErrorCode::NoExtractionDirectory);
    // Remembered at once, so that a failure below still leaves it to be
    // cleaned up by a later run.
    rememberTempDir(directory);

    // The names are read whole: cut at a text buffer's size, the list would
    // end in a piece of a name, and the next record would be written under it.
    const std::vector<std::string> names =
        includedFileNames(configString(id::IncludedFileNames, std::numeric_limits<std::size_t>::max()));
    for (std::size_t i = 0; i < names.size() && i < static_cast<std::size_t>(count); ++i) {
        // A name that would reach outside the directory (or a device) is
        // refused before anything is written or remembered for it.
        if (const char* problem = includedFileNameProblem(names[i])) {
            logError("Refused included file name %s: %s", names[i].c_str(), problem);
            internalError(InternalErrorCode::IncludedFileNotCreated);
        }
        const std::string path = directory + platformPathStyle().dir + names[i];
        rememberTempFile(path);
        if (!extractFile(*executable, path)) {
            logError("Failed to extract %s", path.c_str());
            return false;
        }
    }

    executable.reset();
    logDebug("extracting files done");
    return true;
}

}  // namespace vexal
