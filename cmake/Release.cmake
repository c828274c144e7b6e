# What a release holds, for tools/release and the .deb.
#
# A release archive unpacks into one folder, vexal-<version>/ (a "Vexal
# home"): bin/vexal or bin/vexal.exe, stubs/<arch>/, lib/ (the runtime
# jars), docs/, examples/ and README.txt. The generator finds stubs/ and
# lib/ beside its own bin/ (generator/StubLocator.h).
#
# build/release/contents.txt lists every file of the archives, one per line:
# "<path in the home>\t<file in the build or source tree>\t<mode>\t<which
# archives: all, linux or windows>". tools/release-pack writes the archives
# from it; the install rules below put the same files in the places of a
# Debian system (/usr/bin/vexal, /usr/share/vexal/{stubs,lib},
# /usr/share/doc/vexal) for CPack's .deb.

# The runtime jars of a release: every jar the build makes for applications.
set(VEXAL_RELEASE_JARS vexal_runtime kvlruntime)

set(VEXAL_RELEASE_NAME vexal-${PROJECT_VERSION})
set(_release_dir ${CMAKE_BINARY_DIR}/release)
configure_file(${CMAKE_SOURCE_DIR}/packaging/README.txt.in ${_release_dir}/README.txt @ONLY)
file(WRITE ${_release_dir}/version.txt "${PROJECT_VERSION}\n")

set(_lines "")
# vexal_release_file(HOME_PATH FILE MODE ARCHIVES)
macro(vexal_release_file path file mode archives)
  string(APPEND _lines "${path}\t${file}\t${mode}\t${archives}\n")
endmacro()

vexal_release_file(bin/vexal $<TARGET_FILE:vexal> 755 linux)
vexal_release_file(bin/vexal.exe ${VEXAL_WINDOWS_GENERATOR} 755 windows)
foreach(stub vexal-stub-gui.exe vexal-stub-console.exe)
  vexal_release_file(stubs/x64/${stub} ${VEXAL_STUBS_X64}/${stub} 755 all)
  vexal_release_file(stubs/x86/${stub} ${VEXAL_STUBS_X86}/${stub} 755 all)
endforeach()
vexal_release_file(stubs/linux-x64/vexal-stub-linux $<TARGET_FILE:vexal-stub-linux> 755 all)
set(_jar_files "")
foreach(jar ${VEXAL_RELEASE_JARS})
  get_target_property(_jar ${jar} JAR_FILE)
  get_filename_component(_jar_name ${_jar} NAME)
  vexal_release_file(lib/${_jar_name} ${_jar} 644 all)
  list(APPEND _jar_files ${_jar})
endforeach()
vexal_release_file(README.txt ${_release_dir}/README.txt 644 all)
file(GLOB _docs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.md ${CMAKE_SOURCE_DIR}/docs/*.png)
foreach(doc ${_docs})
  get_filename_component(_name ${doc} NAME)
  vexal_release_file(docs/${_name} ${doc} 644 all)
endforeach()
file(GLOB_RECURSE _hello_sources CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/examples/hello
  ${CMAKE_SOURCE_DIR}/examples/hello/src/*.java)
foreach(source ${_hello_sources})
  vexal_release_file(examples/hello/${source} ${CMAKE_SOURCE_DIR}/examples/hello/${source} 644 all)
endforeach()
vexal_release_file(examples/hello/vexal.toml ${CMAKE_SOURCE_DIR}/examples/hello/vexal.toml 644 all)
get_target_property(_hello_jar hello JAR_FILE)
vexal_release_file(examples/hello/hello.jar ${_hello_jar} 644 all)
vexal_release_file(examples/full/vexal.toml ${CMAKE_SOURCE_DIR}/examples/full/vexal.toml 644 all)
# The Maven plugin and the runtime API, ready for `mvn install:install-file`
# (README, docs/maven-plugin.md).
set(_maven_dist ${CMAKE_BINARY_DIR}/integrations/maven/dist)
set(_maven_files vexal-maven-plugin-${PROJECT_VERSION}.jar vexal-maven-plugin-${PROJECT_VERSION}.pom
  vexal-runtime-api-${PROJECT_VERSION}.jar vexal-runtime-api-${PROJECT_VERSION}-sources.jar
  vexal-runtime-api-${PROJECT_VERSION}-javadoc.jar vexal-runtime-api-${PROJECT_VERSION}.pom)
foreach(file ${_maven_files})
  vexal_release_file(maven/${file} ${_maven_dist}/${file} 644 all)
endforeach()
file(GENERATE OUTPUT ${_release_dir}/contents.txt CONTENT "${_lines}")

# Everything the archives hold, built: `cmake --build BUILD --target release-content`.
add_custom_target(release-content DEPENDS vexal vexal-stub-linux win64 win32 win64-generator hello
  ${VEXAL_RELEASE_JARS} vexal_maven_plugin)

# The .deb: the same files in a Debian system's places. CPack runs only these
# install rules; it builds nothing (tools/release builds release-content
# first, the tests pack a built tree).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS vexal RUNTIME DESTINATION bin)
foreach(stub vexal-stub-gui.exe vexal-stub-console.exe)
  install(PROGRAMS ${VEXAL_STUBS_X64}/${stub} DESTINATION share/vexal/stubs/x64)
  install(PROGRAMS ${VEXAL_STUBS_X86}/${stub} DESTINATION share/vexal/stubs/x86)
endforeach()
install(TARGETS vexal-stub-linux RUNTIME DESTINATION share/vexal/stubs/linux-x64)
install(FILES ${_jar_files} DESTINATION share/vexal/lib)
install(FILES ${_release_dir}/README.txt ${_docs} DESTINATION share/doc/vexal)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/hello/src DESTINATION share/doc/vexal/examples/hello)
install(FILES ${CMAKE_SOURCE_DIR}/examples/hello/vexal.toml ${_hello_jar}
  DESTINATION share/doc/vexal/examples/hello)
install(FILES ${CMAKE_SOURCE_DIR}/examples/full/vexal.toml DESTINATION share/doc/vexal/examples/full)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexal)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vexal developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "native launchers for Java applications, for Windows and Linux")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vexal makes native launchers for Java applications
 The generator vexal reads a TOML project file and writes a Windows executable
 (x64 or x86, GUI or console) or a Linux one that finds a Java runtime within
 the configured version bounds and runs the application in its own process.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${_release_dir}/deb)
set(CPACK_STRIP_FILES OFF)
include(CPack)
