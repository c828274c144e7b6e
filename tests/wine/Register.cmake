# Tests that run Windows programs under Wine, registered in the host build.
#
# All of them share one Wine session per test run (fixture wine_session): a
# fresh prefix, an X server, a persistent wineserver and a warm-up run, made
# by tools/wine-session before the first of them and ended after the last.
# Each test runs its programs through tools/wine-run. The tests use their own
# scratch directories and tell their processes and windows apart, so they
# may run in parallel.

set(VEXAL_WINE_SESSION_DIR ${CMAKE_BINARY_DIR}/wine-session)
set(VEXAL_WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run)
set(VEXAL_RUNNER_EXE ${VEXAL_WINTEST_DIR}/fixtures/runner.exe)

add_test(NAME wine_session_start
  COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session start ${VEXAL_WINE_SESSION_DIR})
set_tests_properties(wine_session_start PROPERTIES
  FIXTURES_SETUP wine_session LABELS wine TIMEOUT 300)
add_test(NAME wine_session_stop
  COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session stop ${VEXAL_WINE_SESSION_DIR})
set_tests_properties(wine_session_stop PROPERTIES
  FIXTURES_CLEANUP wine_session LABELS wine TIMEOUT 60)

# vexal_add_wine_test(NAME program [args...]): runs a Windows program in the
# session; the program's exit code decides.
function(vexal_add_wine_test name)
  add_test(NAME ${name} COMMAND ${VEXAL_WINE_RUN} ${VEXAL_WINE_SESSION_DIR} ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_session LABELS wine TIMEOUT 300)
endfunction()

# The bare stubs carry no block: the first read behind the image fails.
foreach(kind gui console)
  vexal_add_wine_test(wine_bare_stub_${kind} ${VEXAL_STUBS_X64}/vexal-stub-${kind}.exe -q_kvl_internal)
  set_tests_properties(wine_bare_stub_${kind} PROPERTIES
    PASS_REGULAR_EXPRESSION "Internal Error: readInt")
endforeach()

if(NOT TARGET vexal_test_support)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tests/support ${CMAKE_BINARY_DIR}/tests/support)
endif()
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_BINARY_DIR}/tests/e2e)

# Windows-side unit test programs (tests/wine/CMakeLists.txt), one CTest test
# each, run in the session.
set(VEXAL_WIN_UNIT_DIR ${VEXAL_WINTEST_DIR}/tests/wine)
function(vexal_register_win_unit_test name)
  vexal_add_wine_test(${name} ${VEXAL_WIN_UNIT_DIR}/${name}.exe)
  set_property(TEST ${name} APPEND PROPERTY LABELS unit)
endfunction()
vexal_register_win_unit_test(win_common_tests)
vexal_register_win_unit_test(win_temp_tests)
vexal_register_win_unit_test(win_paths_tests)
vexal_register_win_unit_test(win_classpath_tests)

# The JVM search tests; the probe of a hanging java.exe waits its 10 s apart.
vexal_add_wine_test(win_javacheck_tests ${VEXAL_WIN_UNIT_DIR}/win_javacheck_tests.exe --gtest_filter=-*Slow*)
set_property(TEST win_javacheck_tests APPEND PROPERTY LABELS unit)
vexal_add_wine_test(win_javacheck_slow_tests ${VEXAL_WIN_UNIT_DIR}/win_javacheck_tests.exe --gtest_filter=*Slow*)
set_property(TEST win_javacheck_slow_tests APPEND PROPERTY LABELS unit slow)
vexal_register_win_unit_test(win_loader_tests)
vexal_register_win_unit_test(win_launch_tests)
vexal_register_win_unit_test(win_splash_tests)
# Window counting and activation; the title cases start child copies of the
# program with consoles of their own. The foreground window is one for the
# whole session: the activation cases run alone, so that no other test's
# window takes it meanwhile and no test of another sees its window lose it.
vexal_register_win_unit_test(win_activation_tests)
set_tests_properties(win_activation_tests PROPERTIES RUN_SERIAL TRUE)
vexal_register_win_unit_test(win_single_instance_tests)
