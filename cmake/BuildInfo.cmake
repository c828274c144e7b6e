# The project version and the source commit, for every program that reports
# them: the generator's --version and the launchers' build record, which
# `vexal inspect` reads out of a generated executable.
#
# The version is fixed at configure time (build-info/ProjectVersion.h, from
# the top project); the commit is found at build time
# (build-info/SourceCommit.h, cmake/SourceCommit.cmake), so that a new
# commit shows without configuring again.
set(VEXAL_BUILD_INFO_DIR ${CMAKE_BINARY_DIR}/build-info)
set(VEXAL_COMMIT "" CACHE STRING "The commit the programs report; empty: from git, else from a source archive")
configure_file(${CMAKE_CURRENT_LIST_DIR}/ProjectVersion.h.in ${VEXAL_BUILD_INFO_DIR}/ProjectVersion.h @ONLY)

add_custom_target(vexal_source_commit
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOUTPUT=${VEXAL_BUILD_INFO_DIR}/SourceCommit.h
          -DCOMMIT=${VEXAL_COMMIT} -P ${CMAKE_CURRENT_LIST_DIR}/SourceCommit.cmake
  BYPRODUCTS ${VEXAL_BUILD_INFO_DIR}/SourceCommit.h
  COMMENT "Finding the source commit"
  VERBATIM)

add_library(vexal_build_info STATIC ${CMAKE_SOURCE_DIR}/common/BuildInfo.cpp)
target_include_directories(vexal_build_info PUBLIC ${CMAKE_SOURCE_DIR} PRIVATE ${VEXAL_BUILD_INFO_DIR})
add_dependencies(vexal_build_info vexal_source_commit)

# The linker option that keeps the build record in an image that never reads
# it (with --gc-sections it would go): i686 Windows names C symbols with a
# leading underscore.
if(CMAKE_SYSTEM_NAME STREQUAL "Windows" AND CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(VEXAL_KEEP_BUILD_RECORD -Wl,--require-defined=_vexalBuildRecord)
else()
  set(VEXAL_KEEP_BUILD_RECORD -Wl,--require-defined=vexalBuildRecord)
endif()
