# Script mode (cmake -P): packs every file under DIR into the archive JAR,
# in sorted order and with every entry dated DATE, so the same files give
# the same bytes on any machine. MANIFEST, when given, is the manifest file.
#
#   cmake -DJAR_TOOL=.../jar -DJAR=out.jar -DDIR=classes -DDATE=1980-01-01T00:00:02Z
#         [-DMANIFEST=manifest.txt] -P JarFiles.cmake
foreach(_var JAR_TOOL JAR DIR DATE)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "JarFiles.cmake: ${_var} is not set")
  endif()
endforeach()
file(GLOB_RECURSE _files LIST_DIRECTORIES false RELATIVE ${DIR} ${DIR}/*)
list(SORT _files)
if(NOT _files)
  message(FATAL_ERROR "JarFiles.cmake: no files under ${DIR}")
endif()
set(_args)
foreach(_file IN LISTS _files)
  list(APPEND _args -C ${DIR} ${_file})
endforeach()
set(_manifest)
if(DEFINED MANIFEST AND NOT MANIFEST STREQUAL "")
  set(_manifest --manifest ${MANIFEST})
else()
  set(_manifest --no-manifest)
endif()
file(REMOVE ${JAR})
execute_process(COMMAND ${JAR_TOOL} --create --file ${JAR} --date=${DATE} ${_manifest} ${_args}
                RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  file(REMOVE ${JAR})
  message(FATAL_ERROR "JarFiles.cmake: jar failed for ${JAR}")
endif()
