# zpm_add_test(NAME [GUI] SOURCES ... LIBS ...)
#   Headless tests link gtest_main and run without a display (label "headless").
#   GUI tests link the harness of tests/support (a wx application under Xvfb, label "gui").
# One CTest entry per binary; group cases inside the binary.
find_package(GTest REQUIRED)

# Tests skip what they cannot check for want of a tool only when the tools are not all required.
set(ZPM_TEST_ENVIRONMENT "ZPM_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZPM_BINARY_DIR=${CMAKE_BINARY_DIR};NO_AT_BRIDGE=1;GDK_BACKEND=x11;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0")
# Every test runs in the same character set and language whatever the caller's shell has (none
# at all, C, de_DE, en_US): UTF-8, the program's own German texts. xdotool cannot type an umlaut
# in the C locale. A test that needs another locale (German number formats) makes it itself, and
# the journeys start the program itself with no locale variables at all.
list(APPEND ZPM_TEST_ENVIRONMENT "LC_ALL=C.UTF-8")
# One program runs at a time per user, its lock in the runtime folder or, without one, in HOME:
# journeys, each with a HOME of its own, run side by side.
set(ZPM_TEST_ENVIRONMENT_MODIFICATION "LANG=unset:;LANGUAGE=unset:;XDG_RUNTIME_DIR=unset:")
if(ZPM_REQUIRE_ALL_TESTS)
  list(APPEND ZPM_TEST_ENVIRONMENT "ZPM_REQUIRE_ALL_TESTS=1")
endif()

function(zpm_add_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS} zpm::warnings)
  if(T_GUI)
    target_link_libraries(${name} PRIVATE zpm_test_gui)
    set(label gui)
  else()
    target_link_libraries(${name} PRIVATE zpm_test_headless)
    set(label headless)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS ${label} TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "${ZPM_TEST_ENVIRONMENT}" ENVIRONMENT_MODIFICATION "${ZPM_TEST_ENVIRONMENT_MODIFICATION}")
  if(T_GUI)
    # The GUI binaries share one display: a window of one, raised or moved, covers another's that
    # is being read back from the screen. They take the display in turn; the journeys, each with
    # a display of its own, run beside them.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK shared-display)
  endif()
endfunction()

# zpm_add_script_test(NAME COMMAND ... [GUI]): a whole-program check written as a script.
function(zpm_add_script_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "COMMAND" ${ARGN})
  add_test(NAME ${name} COMMAND ${T_COMMAND})
  if(T_GUI)
    set(label gui)
  else()
    set(label headless)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS ${label} TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "${ZPM_TEST_ENVIRONMENT}" ENVIRONMENT_MODIFICATION "${ZPM_TEST_ENVIRONMENT_MODIFICATION}")
endfunction()
