# SPDX-License-Identifier: MIT
# Every include names the folder its header lives in from the top of the tree
# ("platform/settings/UserDefaults.h"), so no two headers share a path. A library sees its own
# folder whole and publishes only the headers other targets include: each target gets its own
# include tree in the build folder, made of links into the sources.

set(BRISKO_INCLUDE_TREES "${CMAKE_BINARY_DIR}/include")

# brisko_see_folder(<target> <PRIVATE|PUBLIC|INTERFACE> <folder>)
# Lets <target> include everything under <folder> (a path from the top of the tree).
function(brisko_see_folder target scope folder)
  string(MAKE_C_IDENTIFIER "${folder}" tree)
  set(tree "${BRISKO_INCLUDE_TREES}/whole/${tree}")
  get_filename_component(parent "${tree}/${folder}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  if(NOT EXISTS "${tree}/${folder}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${tree}/${folder}" SYMBOLIC)
  endif()
  target_include_directories(${target} ${scope} "${tree}")
endfunction()

# brisko_publish_headers(<target> <folder> [INTERNAL <header>...])
# <target> sees its folder whole; its consumers see every header under the folder except the
# INTERNAL ones (paths relative to the folder).
function(brisko_publish_headers target folder)
  cmake_parse_arguments(ARG "" "" "INTERNAL" ${ARGN})
  brisko_see_folder(${target} PRIVATE "${folder}")
  set(tree "${BRISKO_INCLUDE_TREES}/${target}")
  file(REMOVE_RECURSE "${tree}")
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE "${PROJECT_SOURCE_DIR}/${folder}"
       "${PROJECT_SOURCE_DIR}/${folder}/*.h")
  if(ARG_INTERNAL)
    list(REMOVE_ITEM headers ${ARG_INTERNAL})
  endif()
  foreach(header IN LISTS headers)
    get_filename_component(parent "${tree}/${folder}/${header}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}/${header}" "${tree}/${folder}/${header}"
         SYMBOLIC)
  endforeach()
  target_include_directories(${target} INTERFACE "${tree}")
endfunction()
