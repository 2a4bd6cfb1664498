# How the test executables become CTest tests.
#
# On Linux every GoogleTest case is its own CTest test. The Windows builds run
# their programs under Wine, where each start costs about a second, so there a
# test executable is one CTest test; all of them share one Wine prefix in the
# build folder, created once per test run by the wine_prefix fixture.

# Tests of one implementation only live in a folder of this name beside the
# shared ones.
if(WIN32)
  set(VORMI_PLATFORM_FOLDER win32)
else()
  set(VORMI_PLATFORM_FOLDER posix)
endif()

if(WIN32)
  find_program(VORMI_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(VORMI_WINE64 NAMES wine64)
  # Only the 64-bit programs run here: this kernel runs no 32-bit code.
  if(VORMI_WINE64 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(VORMI_RUN_WINDOWS_TESTS ON)
    set(VORMI_WINE_RUN ${PROJECT_SOURCE_DIR}/tests/wine/wine-run.sh)
    set(VORMI_WINE_ENVIRONMENT
      VORMI_WINE64=${VORMI_WINE64} WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix)
    add_test(NAME wine_prefix COMMAND bash ${VORMI_WINE_RUN} --create-prefix)
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix
      ENVIRONMENT "${VORMI_WINE_ENVIRONMENT}" TIMEOUT 300)
  else()
    set(VORMI_RUN_WINDOWS_TESTS OFF)
  endif()
endif()

# vormi_add_gtest(target [options for gtest_discover_tests])
function(vormi_add_gtest target)
  if(NOT WIN32)
    gtest_discover_tests(${target} ${ARGN})
  elseif(VORMI_RUN_WINDOWS_TESTS)
    add_test(NAME ${target} COMMAND bash ${VORMI_WINE_RUN} $<TARGET_FILE:${target}>)
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine_prefix
      ENVIRONMENT "${VORMI_WINE_ENVIRONMENT}" TIMEOUT 1200)
  endif()
endfunction()

# vormi_add_windows_test(name command...): a test that runs Windows programs
# under Wine, registered only where they can run.
function(vormi_add_windows_test name)
  if(VORMI_RUN_WINDOWS_TESTS)
    add_test(NAME ${name} COMMAND ${ARGN})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix
      ENVIRONMENT "${VORMI_WINE_ENVIRONMENT}")
  endif()
endfunction()
