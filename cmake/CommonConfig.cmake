# Build flags every target of the project takes, in one INTERFACE target.
add_library(murmelo_common_config INTERFACE)
target_compile_features(murmelo_common_config INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(murmelo_common_config INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wold-style-cast)
if(MURMELO_WERROR)
  target_compile_options(murmelo_common_config INTERFACE -Werror)
endif()
if(MURMELO_SANITIZE)
  target_compile_options(murmelo_common_config INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(murmelo_common_config INTERFACE -fsanitize=address,undefined)
endif()
if(MURMELO_TSAN)
  target_compile_options(murmelo_common_config INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(murmelo_common_config INTERFACE -fsanitize=thread)
endif()
target_include_directories(murmelo_common_config INTERFACE ${CMAKE_SOURCE_DIR}
                           ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/murmelo_version.h.in
               ${CMAKE_BINARY_DIR}/generated/murmelo_version.h @ONLY)

# Adds a core library from every source file of the given folders, so that a
# new module needs no edit here.
function(murmelo_add_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;LINK" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp
         ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    list(APPEND sources ${dir_sources})
  endforeach()
  # A layer whose modules have not landed yet is still a target: its users
  # link it already.
  if(NOT sources MATCHES "\\.cpp")
    file(WRITE ${CMAKE_BINARY_DIR}/generated/${name}_empty.cpp "")
    list(APPEND sources ${CMAKE_BINARY_DIR}/generated/${name}_empty.cpp)
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC murmelo_common_config ${ARG_LINK})
endfunction()
