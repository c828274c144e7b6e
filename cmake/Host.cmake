# The host (Linux) build: native units and their tests, the generator, and the
# Windows trees built as sub-builds with the mingw-w64 toolchains. This is the
# one build tree a developer configures; ctest here runs every test.

option(VEXAL_WINDOWS "Build the Windows trees (stubs and Wine tests)" ON)
option(VEXAL_SANITIZE "Build the native tests with ASan and UBSan" OFF)

if(VEXAL_FUZZ)
  include(${CMAKE_CURRENT_SOURCE_DIR}/cmake/Fuzz.cmake)
  return()
endif()

enable_testing()
find_package(GTest REQUIRED)

# The JDK: jni.h for the JNI units (native and Windows builds), javac for the
# test application, libjvm for the real-JVM tests.
set(VEXAL_JDK_HOME /usr/lib/jvm/java-17-openjdk-amd64 CACHE PATH "JDK used for jni.h, javac and the real-JVM tests")
set(VEXAL_JNI_INCLUDE ${VEXAL_JDK_HOME}/include)
if(NOT EXISTS "${VEXAL_JNI_INCLUDE}/jni.h" OR NOT EXISTS "${VEXAL_JNI_INCLUDE}/linux/jni_md.h")
  message(FATAL_ERROR "No JDK headers in ${VEXAL_JNI_INCLUDE}: set VEXAL_JDK_HOME to a JDK 17 (needs include/jni.h)")
endif()

if(VEXAL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# The date of every entry in the jars that the build packs itself (the
# runtime API, the Maven plugin): SOURCE_DATE_EPOCH when it is set, else a
# fixed date, so the same sources give the same bytes.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP VEXAL_ARCHIVE_DATE "%Y-%m-%dT%H:%M:%SZ" UTC)
else()
  set(VEXAL_ARCHIVE_DATE 1980-01-01T00:00:02Z)
endif()

add_library(vexal_posix STATIC ${VEXAL_POSIX_SOURCES})
target_link_libraries(vexal_posix PUBLIC vexal_pure)

include(${CMAKE_CURRENT_SOURCE_DIR}/cmake/Linux.cmake)
include(${CMAKE_CURRENT_SOURCE_DIR}/cmake/Jars.cmake)
add_subdirectory(tests/native)
add_subdirectory(runtime)
add_subdirectory(tests/jvm)
add_subdirectory(generator)
# Its binary directory leaves build/fuzz to the fuzzing build of tools/fuzz.
add_subdirectory(fuzz ${CMAKE_BINARY_DIR}/fuzz-replay)

if(VEXAL_WINDOWS)
  include(ExternalProject)
  set(VEXAL_WIN64_DIR ${CMAKE_BINARY_DIR}/win64)
  set(VEXAL_WIN32_DIR ${CMAKE_BINARY_DIR}/win32)
  set(VEXAL_WINTEST_DIR ${CMAKE_BINARY_DIR}/win64-tests)
  set(_tc ${CMAKE_CURRENT_SOURCE_DIR}/cmake/toolchains)

  # Launcher stubs: x86_64 and i686, win32 thread model, size-optimised.
  foreach(arch x86_64 i686)
    if(arch STREQUAL "x86_64")
      set(_dir ${VEXAL_WIN64_DIR})
      set(_name win64)
    else()
      set(_dir ${VEXAL_WIN32_DIR})
      set(_name win32)
    endif()
    ExternalProject_Add(${_name}
      SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}
      BINARY_DIR ${_dir}
      CMAKE_GENERATOR ${CMAKE_GENERATOR}
      CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${_tc}/mingw-${arch}.cmake
                 -DCMAKE_BUILD_TYPE=MinSizeRel -DVEXAL_BUILD_STUBS=ON
                 -DVEXAL_JNI_INCLUDE=${VEXAL_JNI_INCLUDE} -DVEXAL_COMMIT=${VEXAL_COMMIT}
      BUILD_ALWAYS ON
      BUILD_BYPRODUCTS ${_dir}/stubs/vexal-stub-gui.exe ${_dir}/stubs/vexal-stub-console.exe
      INSTALL_COMMAND "")
  endforeach()

  # Windows-side tests and fixtures: posix thread model (GoogleTest needs
  # std::mutex), run under Wine.
  ExternalProject_Add(win64-tests
    SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}
    BINARY_DIR ${VEXAL_WINTEST_DIR}
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${_tc}/mingw-x86_64-posix.cmake
               -DCMAKE_BUILD_TYPE=Release -DVEXAL_BUILD_WIN_TESTS=ON
               -DVEXAL_JNI_INCLUDE=${VEXAL_JNI_INCLUDE}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")

  # The generator for Windows hosts, vexal.exe: static, posix thread model.
  # Its compiler sees a directory of the library headers alone (toml++/,
  # CLI/): the host's /usr/include would shadow mingw's own C headers.
  set(VEXAL_WINGEN_DIR ${CMAKE_BINARY_DIR}/win64-generator)
  set(VEXAL_WINDOWS_GENERATOR ${VEXAL_WINGEN_DIR}/generator/vexal.exe)
  set(_headers ${CMAKE_BINARY_DIR}/generator-headers)
  file(MAKE_DIRECTORY ${_headers})
  foreach(_library toml++/toml.h CLI/CLI.hpp)
    get_filename_component(_dir ${_library} DIRECTORY)
    find_path(_found_${_dir} ${_library} REQUIRED)
    if(NOT EXISTS ${_headers}/${_dir})
      file(CREATE_LINK ${_found_${_dir}}/${_dir} ${_headers}/${_dir} SYMBOLIC)
    endif()
  endforeach()
  ExternalProject_Add(win64-generator
    SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}
    BINARY_DIR ${VEXAL_WINGEN_DIR}
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${_tc}/mingw-x86_64-posix.cmake
               -DCMAKE_BUILD_TYPE=Release -DVEXAL_BUILD_GENERATOR=ON
               -DVEXAL_GENERATOR_HEADERS=${_headers} -DVEXAL_COMMIT=${VEXAL_COMMIT}
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${VEXAL_WINDOWS_GENERATOR}
    INSTALL_COMMAND "")

  set(VEXAL_STUBS_X64 ${VEXAL_WIN64_DIR}/stubs)
  set(VEXAL_STUBS_X86 ${VEXAL_WIN32_DIR}/stubs)
  add_subdirectory(tests/layout)
  include(${CMAKE_CURRENT_SOURCE_DIR}/tests/wine/Register.cmake)
endif()

add_subdirectory(examples)
add_subdirectory(tests/linux)
add_subdirectory(integrations/maven)

# The release archives' contents and the .deb (tools/release), and their
# tests with the Windows generator.
if(VEXAL_WINDOWS AND TARGET vexal_runtime AND TARGET hello)
  include(${CMAKE_CURRENT_SOURCE_DIR}/cmake/Release.cmake)
  add_subdirectory(tests/release)
endif()

# The benchmark's measuring helpers, and the benchmark itself once over in its
# quick mode (one run per case, small files, nothing written; label bench).
find_program(VEXAL_PYTHON3 python3)
if(VEXAL_PYTHON3)
  add_test(NAME bench_helpers COMMAND ${VEXAL_PYTHON3} ${CMAKE_SOURCE_DIR}/bench/test_benchlib.py)
  # The launcher's subsystems include one another in one direction only.
  add_test(NAME subsystem_layers COMMAND ${VEXAL_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/layers ${CMAKE_SOURCE_DIR})
  if(VEXAL_WINDOWS)
    add_test(NAME bench_smoke
      COMMAND ${VEXAL_PYTHON3} ${CMAKE_SOURCE_DIR}/bench/run --quick --no-build --build ${CMAKE_BINARY_DIR})
    set_tests_properties(bench_smoke PROPERTIES LABELS "bench;slow" TIMEOUT 600)
  endif()
endif()
