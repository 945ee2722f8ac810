# The program's layers, bottom first. A folder may include its own headers and those of the
# folders before it in this list, never one after it: no upward include and no circle. The
# adapters (platform/win32, platform/sim) stand beside the port and may use the layers below
# `res`; the executable's entry point (platform/win32/main.cpp) starts the top one.
set(QUILLMOOR_LAYERS platform text base res ui settings display detect controls dialogs
  keeping thumbnail controller app)
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

# The folder (layer) of a path relative to the source root: its first folder, with the
# adapters' own folders told apart.
function(quillmoor_folder_of path out)
  string(REGEX MATCH "^[a-z0-9_]+(/(win32|sim)/)?" folder "${path}")
  string(REGEX REPLACE "/$" "" folder "${folder}")
  set(${out} "${folder}" PARENT_SCOPE)
endfunction()

# The check itself; also run as a script (cmake -P) before every build. Every include is
# resolved as the compiler would find it in the source tree (a quoted one beside the including
# file first, then from the source root, as an angled one), so no spelling reaches past it:
# "detect/x.h", <detect/x.h>, "../detect/x.h" are the same file. Includes outside the tree (the
# standard library, the system) are not the layers' business.
function(quillmoor_check_layers source_dir)
  file(GLOB_RECURSE files RELATIVE ${source_dir} ${source_dir}/*.h ${source_dir}/*.cpp)
  set(errors "")
  foreach(file IN LISTS files)
    quillmoor_folder_of("${file}" folder)
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
    get_filename_component(here ${file} DIRECTORY)
    file(STRINGS ${source_dir}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" path "${line}")
      set(candidates "${source_dir}/${path}")
      if(line MATCHES "include[ \t]*\"")
        list(PREPEND candidates "${source_dir}/${here}/${path}")
      endif()
      set(found "")
      foreach(candidate IN LISTS candidates)
        cmake_path(NORMAL_PATH candidate)
        if(EXISTS "${candidate}" AND NOT IS_DIRECTORY "${candidate}")
          set(found "${candidate}")
          break()
        endif()
      endforeach()
      if(NOT found)
        continue()
      endif()
      file(RELATIVE_PATH target ${source_dir} ${found})
      string(STRIP "${line}" line)
      if(target MATCHES "^\\.\\./")
        string(APPEND errors "  ${file}: ${line} reaches out of the source tree\n")
        continue()
      endif()
      quillmoor_folder_of("${target}" used)
      if(used STREQUAL folder)
        continue()
      endif()
      # A folder may use the port's own headers beside its adapters, never an adapter.
      list(FIND allowed ${used} rank)
      if(rank LESS 0)
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
