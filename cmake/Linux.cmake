# The Linux launcher: the same pure and shell units as the Windows stubs with
# the Linux implementations of the platform services. Size-optimised and
# stripped; the C++ library is linked in so that the one file runs on any
# x86_64 Linux with a C library.

add_executable(vexal-stub-linux
  ${VEXAL_PURE_SOURCES} ${VEXAL_SHELL_SOURCES} ${VEXAL_LINUX_SOURCES} launcher/linux/Main.cpp)
target_include_directories(vexal-stub-linux PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${VEXAL_JNI_INCLUDE}
  ${VEXAL_JNI_INCLUDE}/linux)
target_compile_options(vexal-stub-linux PRIVATE -Os -Wall -Wextra -ffunction-sections -fdata-sections)
target_link_options(vexal-stub-linux PRIVATE -static-libstdc++ -static-libgcc -Wl,--gc-sections -s)
find_package(Threads REQUIRED)
target_link_libraries(vexal-stub-linux PRIVATE Threads::Threads ${CMAKE_DL_LIBS} vexal_build_info)
target_link_options(vexal-stub-linux PRIVATE ${VEXAL_KEEP_BUILD_RECORD})
set_target_properties(vexal-stub-linux PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/linux)
