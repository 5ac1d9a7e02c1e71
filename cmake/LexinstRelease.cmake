# The shipped Windows programs. Every build of a Windows preset makes them the
# way they ship, so that the tests run the very files that are packed.

# The project's version, for the version resource, the manifest and pvdict --version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/lexinst_version.h.in ${CMAKE_BINARY_DIR}/generated/lexinst_version.h)
configure_file(${CMAKE_CURRENT_LIST_DIR}/lexinst.manifest.in ${CMAKE_BINARY_DIR}/generated/lexinst.manifest @ONLY)
add_library(lexinst_version INTERFACE)
target_include_directories(lexinst_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

if(MINGW)
  # The same bytes from any folder at any time: no build time in the PE header,
  # and the source folder (the build folder lies inside it) written as "." in
  # the debug information.
  add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
  add_link_options(-Wl,--no-insert-timestamp)
  # Functions and data that nothing calls are left out of the link.
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
endif()

# lexinst_split_debug(<target>): every link of the program is followed by moving
# its debug information into <file>.debug and stripping it (cmake/link-split-debug).
# A linker launcher, because a post-build step can be added only where the
# target is made.
function(lexinst_split_debug target)
  if(MINGW)
    set_property(TARGET ${target} PROPERTY CXX_LINKER_LAUNCHER
      ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/link-split-debug ${CMAKE_OBJCOPY} ${CMAKE_STRIP})
  endif()
endfunction()
