# Cross build for 64-bit Windows with the posix thread model: GoogleTest needs
# std::mutex, so the Windows-side test programs and fixtures are built here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VEXAL_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${VEXAL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEXAL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${VEXAL_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VEXAL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
