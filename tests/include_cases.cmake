# Builds each include case (tests/CMakeLists.txt) on its own: a REFUSED one must fail with its
# message, an ALLOWED one must build.
#   cmake -DBUILD_DIR=<build folder> -DCASES=<cases.txt> -P include_cases.cmake
# cases.txt holds one "target|REFUSED or ALLOWED|message" a line.
file(STRINGS ${CASES} cases)
set(failed "")
foreach(line IN LISTS cases)
  string(REPLACE "|" ";" fields "${line}")
  list(GET fields 0 target)
  list(GET fields 1 verdict)
  list(GET fields 2 message)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  string(FIND "${output}" "${message}" at)
  if(verdict STREQUAL "REFUSED" AND (result EQUAL 0 OR at EQUAL -1))
    message("${target} should fail with \"${message}\" (exit ${result}):\n${output}")
    list(APPEND failed ${target})
  elseif(verdict STREQUAL "ALLOWED" AND NOT result EQUAL 0)
    message("${target} should build (exit ${result}):\n${output}")
    list(APPEND failed ${target})
  else()
    message("${target}: ${verdict} as it should be")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "Include cases that went wrong: ${failed}")
endif()
