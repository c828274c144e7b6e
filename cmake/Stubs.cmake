# The launcher stubs of one architecture: a GUI-subsystem and a
# console-subsystem executable from the same code, statically linked,
# size-optimised and stripped.

set(VEXAL_STUB_DIR ${CMAKE_BINARY_DIR}/stubs)

foreach(subsystem gui console)
  set(target vexal-stub-${subsystem})
  add_executable(${target} ${VEXAL_WIN32_ENTRY} launcher/win32/stub.rc)
  target_link_libraries(${target} PRIVATE vexal_win)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VEXAL_STUB_DIR})
  target_link_options(${target} PRIVATE -m$<IF:$<STREQUAL:${subsystem},gui>,windows,console>
    -static -s -Wl,--gc-sections -Wl,--disable-dynamicbase -Wl,--disable-reloc-section)
endforeach()

foreach(lib vexal_pure vexal_win)
  target_compile_options(${lib} PRIVATE -Os -ffunction-sections -fdata-sections)
endforeach()
