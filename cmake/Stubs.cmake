# The launcher stubs of one architecture: a GUI-subsystem and a
# console-subsystem executable from the same code, statically linked,
# size-optimised and stripped.
#
# The launcher finds its configuration block through the header fields of its
# last section, so the image layout is fixed by a linker script generated
# from the toolchain's default one (see cmake/StubLinkerScript.cmake).

set(VEXAL_STUB_DIR ${CMAKE_BINARY_DIR}/stubs)
set(VEXAL_STUB_LDSCRIPT ${CMAKE_BINARY_DIR}/vexal-stub.ld)

execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-prog-name=ld
  OUTPUT_VARIABLE _stub_ld OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT IS_ABSOLUTE "${_stub_ld}")
  find_program(_stub_ld_path NAMES ${_stub_ld} REQUIRED)
  set(_stub_ld ${_stub_ld_path})
endif()

add_custom_command(OUTPUT ${VEXAL_STUB_LDSCRIPT}
  COMMAND ${CMAKE_COMMAND} -DLINKER=${_stub_ld} -DARCH=${CMAKE_SYSTEM_PROCESSOR}
          -DOUTPUT=${VEXAL_STUB_LDSCRIPT} -P ${CMAKE_SOURCE_DIR}/cmake/StubLinkerScript.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/cmake/StubLinkerScript.cmake ${_stub_ld}
  COMMENT "Generating the stub linker script"
  VERBATIM)
add_custom_target(vexal_stub_ldscript DEPENDS ${VEXAL_STUB_LDSCRIPT})

# Hardened images: base relocations (.reloc) so that the image can load at a
# random address (DYNAMIC_BASE), data never executable (NX_COMPAT), and the
# TERMINAL_SERVER_AWARE flag that current linkers set by default; on x86_64
# also the full 64-bit address range for ASLR (HIGH_ENTROPY_VA).
set(_stub_link_options -static -s -Wl,--gc-sections -Wl,--enable-reloc-section -Wl,--dynamicbase
  -Wl,--nxcompat -Wl,--tsaware -Wl,-T,${VEXAL_STUB_LDSCRIPT} -Wl,--orphan-handling=error)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  list(APPEND _stub_link_options -Wl,--high-entropy-va)
endif()

# No exceptions: the launcher catches none, and the library's failure paths
# end the process where they occur (launcher/win32/RuntimeFailures.cpp).
# On x86 nothing unwinds through the launcher's frames then (its structured
# exceptions go by the frame chain, not by tables), so the DWARF unwind
# tables are left out: a tenth of the image. x64 keeps its tables, which the
# system's exception dispatch walks through the JVM's frames and ours.
set(_stub_unwind)
if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(_stub_unwind -fno-asynchronous-unwind-tables -fno-unwind-tables)
endif()

foreach(subsystem gui console)
  set(target vexal-stub-${subsystem})
  add_executable(${target} ${VEXAL_WIN32_ENTRY} launcher/win32/stub.rc)
  target_link_libraries(${target} PRIVATE vexal_win vexal_build_info)
  # The version record's numbers (stub.rc).
  target_include_directories(${target} PRIVATE ${VEXAL_BUILD_INFO_DIR})
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${VEXAL_STUB_DIR}
    LINK_DEPENDS ${VEXAL_STUB_LDSCRIPT})
  add_dependencies(${target} vexal_stub_ldscript)
  target_link_options(${target} PRIVATE -m$<IF:$<STREQUAL:${subsystem},gui>,windows,console>
    ${_stub_link_options} ${VEXAL_KEEP_BUILD_RECORD})
  target_compile_options(${target} PRIVATE -Os -fno-exceptions ${_stub_unwind})
endforeach()

# No exceptions: the launcher catches none, and the library's failure paths
# end the process where they occur (launcher/win32/RuntimeFailures.cpp).
foreach(lib vexal_pure vexal_win vexal_build_info)
  target_compile_options(${lib} PRIVATE -Os -ffunction-sections -fdata-sections -fno-exceptions ${_stub_unwind})
endforeach()

# A test program built the way the stubs are, to show how the standard
# library's failures end them.
add_executable(runtime-failure-probe fixtures/runtime-failure/RuntimeFailureProbe.cpp
  launcher/win32/RuntimeFailures.cpp common/ProcessExit.cpp common/win32/ProcessExit.cpp)
target_include_directories(runtime-failure-probe PRIVATE ${CMAKE_SOURCE_DIR})
set_target_properties(runtime-failure-probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/probes)
target_compile_options(runtime-failure-probe PRIVATE -Os -fno-exceptions ${_stub_unwind} -Wall -Wextra)
target_link_options(runtime-failure-probe PRIVATE -static -s -mconsole)
