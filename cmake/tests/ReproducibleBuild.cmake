# Builds secure.dll twice from one source tree, in two build folders whose
# paths differ in length and depth, and compares the results byte for byte:
# the linked DLLs, then the installed forms (stripped DLL and its debug file,
# split as the install step splits them).
#   cmake -DSOURCE_DIR=<tree> -DWORK_DIR=<scratch> -DGENERATOR=<generator>
#         -DTOOLCHAIN=<toolchain file> -DOBJCOPY=<objcopy> -P ReproducibleBuild.cmake
foreach(var SOURCE_DIR WORK_DIR GENERATOR TOOLCHAIN OBJCOPY)
  if(NOT ${var})
    message(FATAL_ERROR "${var} not given")
  endif()
endforeach()

set(target secure)
set(file secure.dll)
set(folders "${WORK_DIR}/a" "${WORK_DIR}/second/build-folder")
file(REMOVE_RECURSE "${WORK_DIR}")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed:\n${out}")
  endif()
endfunction()

function(expect_same what first second)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${first}" "${second}"
                  RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${what} differs between the two build folders:\n  ${first}\n  ${second}")
  endif()
  message(STATUS "${what}: identical")
endfunction()

set(built "")
set(installed "")
foreach(folder IN LISTS folders)
  set(build "${folder}/build")
  run("${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${build}" -G "${GENERATOR}"
      "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}" -DCMAKE_BUILD_TYPE=Release)
  run("${CMAKE_COMMAND}" --build "${build}" --target ${target})
  set(dll "${build}/secure/${file}")
  if(NOT EXISTS "${dll}")
    message(FATAL_ERROR "${file} not found in ${build}")
  endif()
  list(APPEND built "${dll}")

  # The installed form, made by the same step as the install.
  set(install "${folder}/install")
  file(COPY "${dll}" DESTINATION "${install}")
  run("${CMAKE_COMMAND}" "-DOBJCOPY=${OBJCOPY}" "-DBINARY=${install}/${file}"
      -P "${SOURCE_DIR}/cmake/SplitDebugInfo.cmake")
  list(APPEND installed "${install}")
endforeach()

list(GET built 0 first_dll)
list(GET built 1 second_dll)
list(GET installed 0 first)
list(GET installed 1 second)
expect_same("linked ${file}" "${first_dll}" "${second_dll}")
expect_same("stripped ${file}" "${first}/${file}" "${second}/${file}")
expect_same("debug/${file}.debug" "${first}/debug/${file}.debug" "${second}/debug/${file}.debug")
file(REMOVE_RECURSE "${WORK_DIR}")
