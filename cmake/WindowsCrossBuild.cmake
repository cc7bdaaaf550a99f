# What a Windows cross build takes from the build machine: Debian packages
# its header-only libraries (nlohmann-json, CLI11) for the host only and
# ships GoogleTest as source. The headers are reached through a folder of
# links, never through /usr/include itself, whose C library headers would
# shadow MinGW's.
set(VELKOR_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${VELKOR_HOST_HEADERS})
foreach(folder nlohmann CLI)
  if(NOT EXISTS ${VELKOR_HOST_HEADERS}/${folder})
    file(CREATE_LINK /usr/include/${folder} ${VELKOR_HOST_HEADERS}/${folder} SYMBOLIC)
  endif()
endforeach()

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${VELKOR_HOST_HEADERS})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${VELKOR_HOST_HEADERS})

# One .exe with nothing beside it: the C++ runtime and the threads library
# are linked in.
add_link_options(-static)

if(VELKOR_BUILD_TESTS)
  # Built before the project's warning flags apply: its code is not ours.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # It defines the GTest:: names that find_package(GTest) would.
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
