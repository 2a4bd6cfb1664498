# How the test executables become CTest tests.
#
# On Linux every GoogleTest case is its own CTest test. The Windows builds run
# their programs under Wine, where each start costs about a second, so there a
# test executable is one CTest test; all of them share one Wine prefix, created
# once per test run by the wine_prefix fixture and removed after it.

# Tests of one implementation only live in a folder of this name beside the
# shared ones.
if(WIN32)
  set(VORMI_PLATFORM_FOLDER win32)
else()
  set(VORMI_PLATFORM_FOLDER posix)
endif()

if(WIN32)
  # Each build's programs run under the Wine of their kind: the 64-bit loader
  # and prefix for the 64-bit build, a 32-bit prefix for the 32-bit one.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(wine_loader wine64)
    set(VORMI_WINE_ARCH win64)
  else()
    set(wine_loader wine)
    set(VORMI_WINE_ARCH win32)
  endif()
  find_program(VORMI_WINE_${VORMI_WINE_ARCH} NAMES ${wine_loader} PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(VORMI_WINE_${VORMI_WINE_ARCH} NAMES ${wine_loader})
  set(VORMI_WINE ${VORMI_WINE_${VORMI_WINE_ARCH}})
  if(VORMI_WINE)
    set(VORMI_RUN_WINDOWS_TESTS ON)
    set(VORMI_WINE_RUN ${PROJECT_SOURCE_DIR}/tests/wine/wine-run.sh)
    # The stage (see wine-run.sh) is made afresh for each test run and removed
    # after it; this file in the build folder names it meanwhile.
    set(VORMI_WINE_ENVIRONMENT
      VORMI_WINE=${VORMI_WINE} VORMI_WINE_ARCH=${VORMI_WINE_ARCH}
      VORMI_WINE_STAGE_RECORD=${CMAKE_BINARY_DIR}/wine-stage)
    add_test(NAME wine_prefix COMMAND bash ${VORMI_WINE_RUN} --create-prefix)
    add_test(NAME wine_prefix_removal COMMAND bash ${VORMI_WINE_RUN} --remove-prefix)
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix
      ENVIRONMENT "${VORMI_WINE_ENVIRONMENT}" TIMEOUT 300)
    set_tests_properties(wine_prefix_removal PROPERTIES FIXTURES_CLEANUP wine_prefix
      ENVIRONMENT "${VORMI_WINE_ENVIRONMENT}" TIMEOUT 60)
  else()
    message(STATUS "No Wine loader ${wine_loader}: the programs of this build are built, not run")
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
