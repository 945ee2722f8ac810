# Every source file as `.clang-format` lays it out. Run as: cmake -DSOURCE=<root> -P
find_program(CLANG_FORMAT clang-format)
if(NOT CLANG_FORMAT)
  message(FATAL_ERROR "clang-format is missing: scripts/deps installs it")
endif()
file(GLOB_RECURSE files ${SOURCE}/src/*.cpp ${SOURCE}/src/*.h ${SOURCE}/tests/*.cpp
     ${SOURCE}/tests/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                RESULT_VARIABLE result ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "not formatted (clang-format -i on these files):\n${output}")
endif()
