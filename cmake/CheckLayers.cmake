# Refuses to configure when a source file includes a header of a layer above
# its own. The layers, lowest first: engine; carving; cli beside the desktop's
# ui (with res); tasks. Only quoted includes are read: they are the project's.

# Folder -> folders whose headers it must not include.
set(_velkor_forbidden_engine carving tasks ui res)
set(_velkor_forbidden_carving tasks ui res)
set(_velkor_forbidden_cli tasks ui res)
set(_velkor_forbidden_ui tasks)
set(_velkor_forbidden_res tasks)

# Files allowed to break their folder's rule for now, each with its reason.
set(_velkor_layer_exemptions)

set(_velkor_layer_errors "")
foreach(_folder engine carving cli ui res)
  file(GLOB_RECURSE _files RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}"
       "${CMAKE_CURRENT_SOURCE_DIR}/${_folder}/*.h" "${CMAKE_CURRENT_SOURCE_DIR}/${_folder}/*.cpp")
  foreach(_file IN LISTS _files)
    if(_file IN_LIST _velkor_layer_exemptions)
      continue()
    endif()
    file(STRINGS "${CMAKE_CURRENT_SOURCE_DIR}/${_file}" _includes
         REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    foreach(_line IN LISTS _includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" _header "${_line}")
      foreach(_above IN LISTS _velkor_forbidden_${_folder})
        if(_header MATCHES "^${_above}/")
          string(APPEND _velkor_layer_errors "\n  ${_file} includes ${_header}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(_velkor_layer_errors)
  message(FATAL_ERROR "Includes against the layering:${_velkor_layer_errors}")
endif()
