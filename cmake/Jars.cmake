# Jars whose bytes depend on their contents only: the jar tool of JDK 17
# stores every entry's time, so each jar the build makes is rewritten after it
# is made (packaging/normalize_zip.py: fixed times and permissions, the file
# replaced only when its bytes change). Without Python the jars stay as the
# jar tool wrote them, and releases are not reproducible.
find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND)
  message(STATUS "No Python 3: jars keep their build times")
endif()

# vexal_reproducible_jar(TARGET): TARGET is an add_jar target.
function(vexal_reproducible_jar target)
  if(NOT Python3_Interpreter_FOUND)
    return()
  endif()
  get_target_property(_jar ${target} JAR_FILE)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/packaging/normalize_zip.py ${_jar}
    VERBATIM)
endfunction()
