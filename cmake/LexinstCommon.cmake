# Compiler settings shared by every target of the project.

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # Self-contained binaries: libstdc++, libgcc and winpthread are linked in.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wno-unknown-pragmas)
  # Warnings fail the build of the project's own code; third-party code, added
  # with add_subdirectory(... SYSTEM), keeps them as warnings. The fault check
  # turns this off: a planted fault may leave a variable unused.
  if(LEXINST_WERROR)
    add_compile_options($<$<NOT:$<BOOL:$<TARGET_PROPERTY:SYSTEM>>>:-Werror>)
  endif()
endif()

if(LEXINST_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Header-only libraries from Debian's packages. The mingw builds must not see
# /usr/include as a whole, so only these two folders are linked into the build tree.
set(LEXINST_THIRDPARTY_INCLUDE ${CMAKE_BINARY_DIR}/thirdparty/include)
file(MAKE_DIRECTORY ${LEXINST_THIRDPARTY_INCLUDE})
foreach(dir CLI nlohmann)
  if(EXISTS /usr/include/${dir} AND NOT EXISTS ${LEXINST_THIRDPARTY_INCLUDE}/${dir})
    file(CREATE_LINK /usr/include/${dir} ${LEXINST_THIRDPARTY_INCLUDE}/${dir} SYMBOLIC)
  endif()
endforeach()
add_library(lexinst_thirdparty INTERFACE)
target_include_directories(lexinst_thirdparty SYSTEM INTERFACE ${LEXINST_THIRDPARTY_INCLUDE})

# Google Benchmark: the host's package natively; for Windows, built from the
# Debian source that scripts/setup unpacks.
set(LEXINST_BENCHMARK_SOURCE /usr/local/src/lexinst-deps/benchmark CACHE PATH "Google Benchmark source for the Windows builds")
