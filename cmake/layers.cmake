# The program's layers, bottom first. A folder may include its own headers and those of the
# folders before it in this list, never one after it: no upward include and no circle. The
# adapters (platform/win32, platform/sim) stand beside the port and may use the layers below
# `res`; the executable's entry point (platform/win32/main.cpp) starts the top one.
set(QUILLMOOR_LAYERS platform text base res ui settings display detect controls dialogs
  thumbnail controller app)
set(QUILLMOOR_ADAPTER_USES platform text base)

# quillmoor_layer(NAME SOURCES... [USES LOWER...]): the library of one folder.
function(quillmoor_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "" "USES")
  add_library(quillmoor_${name} STATIC ${LAYER_UNPARSED_ARGUMENTS})
  target_link_libraries(quillmoor_${name} PUBLIC quillmoor_platform)
  foreach(lower IN LISTS LAYER_USES)
    target_link_libraries(quillmoor_${name} PRIVATE quillmoor_${lower})
  endforeach()
  add_dependencies(quillmoor_${name} quillmoor_layer_check)
endfunction()

# The check itself; also run as a script (cmake -P) before every build.
function(quillmoor_check_layers source_dir)
  file(GLOB_RECURSE files RELATIVE ${source_dir} ${source_dir}/*.h ${source_dir}/*.cpp)
  set(errors "")
  foreach(file IN LISTS files)
    string(REGEX MATCH "^[a-z0-9_]+(/(win32|sim))?" folder ${file})
    if(file STREQUAL "platform/win32/main.cpp")
      continue()
    elseif(folder MATCHES "^platform/")
      set(allowed ${QUILLMOOR_ADAPTER_USES})
    else()
      list(FIND QUILLMOOR_LAYERS ${folder} rank)
      if(rank LESS 0)
        string(APPEND errors "  ${file}: the folder ${folder} is in no layer (cmake/layers.cmake)\n")
        continue()
      endif()
      list(SUBLIST QUILLMOOR_LAYERS 0 ${rank} allowed)
    endif()
    file(STRINGS ${source_dir}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[a-z0-9_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([a-z0-9_]+)/.*" "\\1" used "${line}")
      if(used STREQUAL folder OR folder MATCHES "^${used}/")
        continue()
      endif()
      list(FIND allowed ${used} found)
      if(found LESS 0)
        string(STRIP "${line}" line)
        string(APPEND errors "  ${file}: ${line} reaches up from ${folder} (allowed: ${allowed})\n")
      endif()
    endforeach()
  endforeach()
  if(errors)
    message(FATAL_ERROR "Upward includes between the program's layers:\n${errors}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  quillmoor_check_layers(${QUILLMOOR_SOURCE_DIR})
else()
  quillmoor_check_layers(${PROJECT_SOURCE_DIR}/src)
  add_custom_target(quillmoor_layer_check
    COMMAND ${CMAKE_COMMAND} -DQUILLMOOR_SOURCE_DIR=${PROJECT_SOURCE_DIR}/src
            -P ${PROJECT_SOURCE_DIR}/cmake/layers.cmake
    COMMENT "Checking that no folder includes a folder above it"
    VERBATIM)
endif()
