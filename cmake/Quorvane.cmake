# Build conventions shared by every component: warnings, sanitizers, the
# Windows version resource, GoogleTest and test registration.

option(QV_SANITIZE "Build native code with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-Wall -Wextra)
  # No build folder in a binary or its debug file (__FILE__, line tables, the
  # compilation folder): the same commit built in two folders gives the same
  # bytes. The build tree's map comes last so that it wins for generated files
  # of a build tree inside the source tree.
  add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
                      -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
endif()

if(QV_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Targets created from here on run through Wine when ctest starts them.
  set(QV_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix owned by this build tree")
  # 32-bit Wine for the i686 tree, 64-bit Wine for the x86-64 tree.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QV_WINEARCH win64)
  else()
    set(QV_WINEARCH win32)
  endif()
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  # Line tables for the debug files kept beside the stripped release binaries
  # (a crash address reads as file and line); -g1 leaves the code as it is.
  add_compile_options(-g1)
  # No link time in the PE header (its TimeDateStamp is 0), so that a binary
  # whose sources did not change links to the same bytes.
  add_link_options(-Wl,--no-insert-timestamp)
  # Each function and object in a section of its own, and the linker drops the
  # ones nothing refers to: a smaller image at no cost in speed.
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
  # Windows headers: target XP-era APIs and above, ANSI entry points.
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX)
endif()

set(QV_TEMPLATE_DIR ${CMAKE_CURRENT_LIST_DIR})

# qv_version_resource(<target> <description> <original file name> [VERSION <a.b.c.d>])
# Gives a Windows binary its VERSIONINFO block: the project version unless
# another is given, and the file type of a library or of a program.
function(qv_version_resource target description filename)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 3 ARG "" "VERSION" "")
  if(NOT ARG_VERSION)
    set(ARG_VERSION "${PROJECT_VERSION}")
  endif()
  set(QV_FILE_DESCRIPTION "${description}")
  set(QV_ORIGINAL_FILENAME "${filename}")
  string(REPLACE "." "," QV_VERSION_COMMAS "${ARG_VERSION}")
  set(QV_VERSION_TEXT "${ARG_VERSION}")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(QV_FILE_TYPE VFT_DLL)
  else()
    set(QV_FILE_TYPE VFT_APP)
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${QV_TEMPLATE_DIR}/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# qv_optimize_for_size(<source dir>...)
# Compiles every target of the given folders (and their subfolders) with -Os
# in the release builds of the Windows trees. Meant for components whose speed
# is bound by the network or the user, not the processor: -Os takes about a
# seventh off Koravel.exe, while it costs DES a third and the lexer a tenth of
# their speed, so those stay at the release default (docs/performance.md).
function(qv_optimize_for_size)
  if(NOT WIN32)
    return()
  endif()
  foreach(dir IN LISTS ARGN)
    qv_targets_below(${dir} targets)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
        # Comes after the release flags on the command line, so it is the -O that counts.
        target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-Os>)
      endif()
    endforeach()
  endforeach()
endfunction()

# The targets defined in a source folder and all folders added below it.
function(qv_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    qv_targets_below(${subdir} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Adds GoogleTest from the distribution's sources, compiled by the current toolchain.
macro(qv_add_googletest)
  set(QV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${QV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endmacro()

# qv_add_test(<name> SOURCES ... [LIBS ...] [LOCKS ...] [TIMEOUT s] [ENV ...] [ABI])
# One test executable, registered as one ctest entry. LOCKS names resources
# that tests must not share at the same time (the updater's machine-wide mutex).
# ABI labels the test "abi": it checks what only the i686 binaries can show
# (exports, calling conventions, record layouts, image facts) or is a quick
# core-logic test, and so also runs where the i686 tree must be tested in an
# emulated machine (scripts/i686-vm).
function(qv_add_test name)
  cmake_parse_arguments(T "ABI" "TIMEOUT" "SOURCES;LIBS;LOCKS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
  if(T_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
  if(T_ABI)
    set_tests_properties(${name} PROPERTIES LABELS abi)
  endif()
endfunction()

# The installed copy of a Windows binary is stripped; its debug information
# goes to debug/<file>.debug beside it (see SplitDebugInfo.cmake).
function(qv_install_split_debug target)
  install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" -DOBJCOPY=${CMAKE_OBJCOPY}
                  -DBINARY=\${CMAKE_INSTALL_PREFIX}/$<TARGET_FILE_NAME:${target}>
                  -P \"${QV_TEMPLATE_DIR}/SplitDebugInfo.cmake\" COMMAND_ERROR_IS_FATAL ANY)")
endfunction()

# Where a library or program goes in dist/: the client folder for Windows,
# lib/ and include/ for the native tree.
function(qv_install_library target header)
  if(WIN32)
    install(TARGETS ${target} RUNTIME DESTINATION . LIBRARY DESTINATION . ARCHIVE EXCLUDE_FROM_ALL)
    qv_install_split_debug(${target})
  else()
    install(TARGETS ${target} LIBRARY DESTINATION lib RUNTIME DESTINATION bin)
    if(header)
      install(FILES ${header} DESTINATION include)
    endif()
  endif()
endfunction()
