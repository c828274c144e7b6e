# Source lists of the launcher, by role.
#
# VEXAL_PURE_SOURCES: platform-neutral logic (parsing, strings, formats). Built
#   natively and tested there quickly, under sanitizers, and built into every
#   launcher.
# VEXAL_SHELL_SOURCES: the launch stages that call platform services declared
#   in small headers; built only beside a platform implementation.
# VEXAL_WIN32_SOURCES: the Win32 implementations of those services.

set(VEXAL_PURE_SOURCES
  common/ArgumentSplitting.cpp
  common/Format.cpp
  common/Sha256.cpp
  common/StoreName.cpp
  common/Utf8.cpp
  config/ByteSource.cpp
  config/ConfigBlock.cpp
  config/ConfigStore.cpp
  config/ElfImage.cpp
  config/MessageText.cpp
  files/DeletionList.cpp
  files/DeletionStore.cpp
  files/IncludedFiles.cpp
  files/UserCache.cpp
  files/PathLogic.cpp
  launcher/ArgumentJoining.cpp
  launcher/ArgumentText.cpp
  process/InstanceIdentity.cpp
  process/PathVariable.cpp
  splash/SplashLayout.cpp
  splash/SplashState.cpp
  splash/StatusText.cpp
  windows/JavaVMLauncher/ClassDataSharing.cpp
  windows/JavaVMLauncher/ClassPathLogic.cpp
  windows/JavaVMLauncher/VariableSubstitution.cpp
  windows/JavaVMLauncher/JavaOptionForms.cpp
  windows/JavaVMLauncher/VmOptionsLogic.cpp
  windows/WinLoader/JavaHomeLayout.cpp
  windows/WinLoader/ImageArchitecture.cpp
  windows/WinLoader/JavaVersion.cpp
  windows/WinLoader/JvmLibraryLogic.cpp
  windows/WinLoader/JvmSearch.cpp
  windows/WinLoader/PackedJreLogic.cpp
  windows/WinLoader/ProbeOutput.cpp
  windows/WinLoader/ProgramCommandLine.cpp
  windows/WinLoader/SearchSequence.cpp
)

set(VEXAL_SHELL_SOURCES
  common/ProcessExit.cpp
  config/CheckedSplitting.cpp
  config/ErrorReport.cpp
  config/Log.cpp
  files/Extraction.cpp
  files/PathHelpers.cpp
  files/StableFiles.cpp
  files/TempFiles.cpp
  launcher/LaunchSequence.cpp
  process/Environment.cpp
  process/SingleInstance.cpp
  splash/SplashController.cpp
  windows/JavaVMLauncher/ClassPath.cpp
  windows/JavaVMLauncher/JvmEntry.cpp
  windows/JavaVMLauncher/JvmSession.cpp
  windows/JavaVMLauncher/NativeMain.cpp
  windows/JavaVMLauncher/SharingArchive.cpp
  windows/JavaVMLauncher/LaunchProgram.cpp
  windows/JavaVMLauncher/VmOptions.cpp
  windows/WinLoader/JavaCheck.cpp
  windows/WinLoader/JreConfigFile.cpp
  windows/WinLoader/JvmLibrary.cpp
  windows/WinLoader/LoadDLL.cpp
  windows/WinLoader/PackedJre.cpp
)

set(VEXAL_WIN32_SOURCES
  common/win32/EnvironmentVars.cpp
  common/win32/NtPlatform.cpp
  common/win32/PathStyle.cpp
  common/win32/ProcessExit.cpp
  common/win32/ProcessId.cpp
  common/win32/SecureRandom.cpp
  common/win32/TextCodec.cpp
  config/win32/ConfigLoader.cpp
  config/win32/ErrorReport.cpp
  config/win32/FileSource.cpp
  config/win32/LogFile.cpp
  files/win32/CacheFiles.cpp
  files/win32/DeferredDeletion.cpp
  files/win32/ExtractionFiles.cpp
  files/win32/LongPathName.cpp
  files/win32/OwnerOnlyDirectory.cpp
  files/win32/PathHelpers.cpp
  files/win32/TempFiles.cpp
  files/win32/UserCache.cpp
  process/win32/EnvironmentServices.cpp
  process/win32/InstanceServices.cpp
  process/win32/LibrarySearch.cpp
  process/win32/WindowActivation.cpp
  splash/win32/SplashPainter.cpp
  splash/win32/Splash.cpp
  windows/JavaVMLauncher/win32/ClassPath.cpp
  windows/JavaVMLauncher/win32/EnvironmentBlock.cpp
  windows/WinLoader/win32/HiddenProcess.cpp
  windows/WinLoader/win32/JavaCheck.cpp
  windows/WinLoader/win32/JvmRegistry.cpp
  windows/WinLoader/win32/LibraryLoader.cpp
  windows/WinLoader/win32/RegistryAccess.cpp
)

# POSIX implementations of the services that native tests exercise.
set(VEXAL_POSIX_SOURCES
  common/ProcessExit.cpp
  common/posix/EnvironmentVars.cpp
  common/posix/ProcessExit.cpp
  common/posix/ProcessId.cpp
  common/posix/TextCodec.cpp
)

# The stub executables' own units: the entry point and the C++ runtime's
# failure paths (see launcher/win32/RuntimeFailures.cpp).
set(VEXAL_WIN32_ENTRY launcher/win32/WinMain.cpp launcher/win32/RuntimeFailures.cpp)

# The Linux implementations of the services (the Linux launcher).
set(VEXAL_LINUX_SOURCES
  common/linux/PathStyle.cpp
  common/posix/EnvironmentVars.cpp
  common/posix/ProcessExit.cpp
  common/posix/ProcessId.cpp
  common/posix/TextCodec.cpp
  common/linux/StateDirectory.cpp
  config/linux/ConfigLoader.cpp
  config/linux/FileSource.cpp
  config/posix/ErrorReport.cpp
  config/posix/LogFile.cpp
  files/linux/CacheFiles.cpp
  files/linux/DeferredDeletion.cpp
  files/linux/ExtractionFiles.cpp
  files/linux/PathHelpers.cpp
  files/linux/PrivateDirectory.cpp
  files/linux/PrivateTree.cpp
  files/linux/TempFiles.cpp
  files/linux/UserCache.cpp
  process/linux/EnvironmentServices.cpp
  process/linux/InstanceServices.cpp
  process/linux/LibrarySearch.cpp
  process/linux/WindowActivation.cpp
  splash/linux/Splash.cpp
  windows/JavaVMLauncher/linux/ClassPath.cpp
  windows/JavaVMLauncher/linux/EnvironmentBlock.cpp
  windows/WinLoader/linux/HiddenProcess.cpp
  windows/WinLoader/linux/JavaCheck.cpp
  windows/WinLoader/linux/JvmRegistry.cpp
  windows/WinLoader/linux/LibraryLoader.cpp
)
