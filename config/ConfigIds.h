#pragma once
#include <cstdint>

namespace vexal {

// Configuration ids that the launcher reads from its block.
namespace id {
constexpr std::int32_t AppName = 101;
constexpr std::int32_t ErrorLogWanted = 102;
constexpr std::int32_t ErrorLogFile = 103;
constexpr std::int32_t DebugLogWanted = 104;
constexpr std::int32_t DebugLogFile = 105;
constexpr std::int32_t RuntimeFlag = 106;
constexpr std::int32_t ExecutableType = 107;
constexpr std::int32_t ShowSplash = 108;
constexpr std::int32_t ClassPath = 121;
constexpr std::int32_t MainClass = 122;
constexpr std::int32_t VmParameters = 123;
constexpr std::int32_t ProgramArguments = 124;
constexpr std::int32_t AllowJArguments = 125;
constexpr std::int32_t MinVersion = 126;
constexpr std::int32_t MaxVersion = 127;
constexpr std::int32_t SearchSequence = 128;
constexpr std::int32_t AcceptBeta = 130;
constexpr std::int32_t SplashWidth = 141;
constexpr std::int32_t SplashHeight = 142;
constexpr std::int32_t CloseSplashOnWindow = 145;
constexpr std::int32_t WorkingDirectory = 146;
constexpr std::int32_t SplashTopmost = 147;
constexpr std::int32_t PreferredVariant = 152;
// "auto": the launcher keeps an archive of the application's classes per
// user (class-data sharing); anything else, or no entry: off.
constexpr std::int32_t ClassDataSharing = 154;
constexpr std::int32_t LauncherKind = 2001;
constexpr std::int32_t IncludedFileCount = 2002;
constexpr std::int32_t IncludedFileNames = 2003;
// The SHA-256 of the included files' names and data (generator only): the
// name of their stable place in the per-user cache.
constexpr std::int32_t IncludedFilesDigest = 2004;
constexpr std::int32_t InstallRoot = 10003;
constexpr std::int32_t PathPrefix = 10004;
constexpr std::int32_t SingleInstance = 10005;
constexpr std::int32_t StatusX = 10109;
constexpr std::int32_t StatusY = 10110;
constexpr std::int32_t StatusText = 10111;
constexpr std::int32_t StatusFace = 10112;
constexpr std::int32_t StatusPoints = 10113;
constexpr std::int32_t StatusColor = 10114;
constexpr std::int32_t StatusWeight = 10115;
constexpr std::int32_t VersionX = 10116;
constexpr std::int32_t VersionY = 10117;
constexpr std::int32_t VersionText = 10118;
constexpr std::int32_t VersionFace = 10119;
constexpr std::int32_t VersionPoints = 10120;
constexpr std::int32_t VersionColor = 10121;
constexpr std::int32_t VersionWeight = 10122;
}  // namespace id

// Message entries: the error caption and the configured error texts.
namespace msg {
constexpr std::int32_t Caption = 1000;
constexpr std::int32_t NoJvm = 1001;
constexpr std::int32_t PathJvmDamaged = 1002;
constexpr std::int32_t EnvJvmBroken = 1003;
constexpr std::int32_t DirJvmDamaged = 1004;
constexpr std::int32_t JvmNotStarted = 1005;
constexpr std::int32_t ClassPathMissing = 1006;
constexpr std::int32_t WrongParameter = 1007;
constexpr std::int32_t EnvVarUndefined = 1008;
constexpr std::int32_t InternalError = 1009;
constexpr std::int32_t MainClassNotLoaded = 1010;
constexpr std::int32_t MainMethodMissing = 1011;
}  // namespace msg

// The %ERROR_CODE% of message 1009: which internal step failed. The numbers
// are what users quote back to support, so they never change.
enum class InternalErrorCode : int {
    NoExtractionDirectory = 7,
    IncludedFileNotCreated = 11,
    IncludedFileNotWritten = 13,
    FirstRunClassMissing = 14,
    FirstRunMethodMissing = 15,
    ExtractionFailed = 16,
    PackedJreNotUnpacked = 20,
};

namespace placeholder {
constexpr const char* ErrorCode = "%ERROR_CODE%";
constexpr const char* EnvVarName = "%ENV_VAR_NAME%";
constexpr const char* FileName = "%FILE_NAME%";
constexpr const char* DefinedPath = "%DEFINED_PATH%";
}  // namespace placeholder

}  // namespace vexal
