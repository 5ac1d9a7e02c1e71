# GoogleTest from the source Debian ships, built with this project's compiler and flags.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Windows tests run under Wine in a prefix of their own inside the build folder,
# made once per test run by the wine_prefix fixture. The Wine variables come from
# scripts/wine-env, as the scripts' do: its loader choice, and lexinst_use_prefix.
set(LEXINST_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(LEXINST_WINE_ENV
  "LEXINST_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  "LEXINST_BINARY_DIR=${CMAKE_BINARY_DIR}"
  # The prefix script and the tests take the loader this build was configured with.
  "LEXINST_RUNS_32BIT=${LEXINST_RUNS_32BIT}"
  "LEXINST_NO_32BIT_WHY=${LEXINST_NO_32BIT_WHY}")
if(WIN32)
  execute_process(
    COMMAND bash -c [[. "$1" && lexinst_use_prefix "$2" && env | grep -E '^WINE(PREFIX|DEBUG|DLLOVERRIDES|LOADER)=']]
            wine-env ${CMAKE_SOURCE_DIR}/scripts/wine-env ${LEXINST_WINEPREFIX}
    OUTPUT_VARIABLE wine_env OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ";" wine_env "${wine_env}")
  list(APPEND LEXINST_WINE_ENV ${wine_env})
endif()

if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME wine_prefix_up COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix up ${LEXINST_WINEPREFIX})
  add_test(NAME wine_prefix_down COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix down ${LEXINST_WINEPREFIX})
  set_tests_properties(wine_prefix_up PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300 ENVIRONMENT "${LEXINST_WINE_ENV}")
  set_tests_properties(wine_prefix_down PROPERTIES FIXTURES_CLEANUP wine_prefix TIMEOUT 60 ENVIRONMENT "${LEXINST_WINE_ENV}")
endif()

# lexinst_add_test(NAME <name> COMMAND <target> [args...] [TIMEOUT s])
# One CTest entry per test program: every Wine process start costs time.
function(lexinst_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "COMMAND" ${ARGN})
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
    set_tests_properties(${T_NAME} PROPERTIES
      ENVIRONMENT "${LEXINST_WINE_ENV}"
      FIXTURES_REQUIRED wine_prefix)
  elseif(WIN32)
    # Listed as not run, never as passed.
    set_tests_properties(${T_NAME} PROPERTIES DISABLED TRUE)
  endif()
endfunction()
