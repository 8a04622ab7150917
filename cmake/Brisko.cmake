# SPDX-License-Identifier: MIT
# Settings every target of our own gets. Kept PRIVATE so they never leak to consumers.
function(brisko_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  # Only programs that read the address book load libebook and its dependencies; the others
  # link the same static platform library without needing them.
  target_link_options(${target} PRIVATE LINKER:--as-needed)
  if(BRISKO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_compile_definitions(${target} PRIVATE
    QT_NO_KEYWORDS
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER
    QT_NO_FOREACH)
endfunction()

# Copies one file into a bundle's resources whenever the source changes.
# brisko_bundle_resource(<target> <source> <bundle-resources-dir> [<name>])
function(brisko_bundle_resource target source destination)
  get_filename_component(name "${source}" NAME)
  if(ARGC GREATER 3)
    set(name "${ARGV3}")
  endif()
  add_custom_command(
    OUTPUT "${destination}/${name}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${destination}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${source}" "${destination}/${name}"
    DEPENDS "${source}"
    COMMENT "Bundling ${name}"
    VERBATIM)
  target_sources(${target} PRIVATE "${destination}/${name}")
endfunction()
