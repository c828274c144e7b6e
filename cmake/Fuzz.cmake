# The fuzzing build (VEXAL_FUZZ, clang): the pure units, their POSIX
# services and the generator's readers, instrumented for libFuzzer and the
# sanitizers, and the fuzz targets over them. No tests, no Windows trees.
add_library(vexal_posix STATIC ${VEXAL_POSIX_SOURCES})
target_link_libraries(vexal_posix PUBLIC vexal_pure)
# The generator's directory also declares its tests; they are not built here.
find_package(GTest REQUIRED)
add_subdirectory(generator)
add_subdirectory(fuzz)
