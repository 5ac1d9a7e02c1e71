# Shared part of the two mingw-w64 toolchains; the including file sets LEXINST_MINGW_TRIPLE
# and LEXINST_WINDOWS_BITS.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${LEXINST_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LEXINST_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LEXINST_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LEXINST_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run under Wine, through the loader that scripts/wine-env finds for
# this machine. A 32-bit build on a machine that runs no 32-bit programs gets no
# emulator: it is built, and its tests are disabled with the reason.
execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-env OUTPUT_VARIABLE lexinst_wine_env)
string(REGEX MATCH "runs32=([01])" _ "${lexinst_wine_env}")
set(LEXINST_RUNS_32BIT ${CMAKE_MATCH_1})
string(REGEX MATCH "wine=([^\n]*)" _ "${lexinst_wine_env}")
set(LEXINST_WINE ${CMAKE_MATCH_1})
string(REGEX MATCH "why=([^\n]*)" _ "${lexinst_wine_env}")
set(LEXINST_NO_32BIT_WHY "${CMAKE_MATCH_1}")
if(LEXINST_WINDOWS_BITS EQUAL 64 OR LEXINST_RUNS_32BIT)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LEXINST_WINE})
endif()
