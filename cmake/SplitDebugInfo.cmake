# Run at install time for one Windows binary: keeps its debug information in
# debug/<name>.debug beside the installed files, strips the shipped binary,
# and links it to that file by name (.gnu_debuglink), so that a debugger or a
# crash address can still be read with the kept file.
#   cmake -DOBJCOPY=<objcopy> -DBINARY=<installed file> -P SplitDebugInfo.cmake
get_filename_component(folder "${BINARY}" DIRECTORY)
get_filename_component(name "${BINARY}" NAME)
set(debug_file "${folder}/debug/${name}.debug")
file(MAKE_DIRECTORY "${folder}/debug")

# objcopy stamps every PE file it writes with the current time unless
# SOURCE_DATE_EPOCH names one; 0 keeps the linker's empty stamp, so that the
# shipped file and its debug file depend on their contents only.
set(ENV{SOURCE_DATE_EPOCH} 0)

foreach(step
    "--only-keep-debug;${BINARY};${debug_file}"
    "--strip-debug;--strip-unneeded;${BINARY}"
    "--add-gnu-debuglink=${debug_file};${BINARY}")
  execute_process(COMMAND "${OBJCOPY}" ${step} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "objcopy ${step} failed for ${BINARY}")
  endif()
endforeach()
