# SPDX-License-Identifier: MIT
# Translations: catalogues of texts, translations/<catalogue>_<language>.ts, the English texts
# being the keys. A catalogue is declared once with the sources lupdate reads for it; each
# deliverable ships the catalogues it needs, compiled by lrelease into .qm files.
# `cmake --build build --target update-translations` brings the .ts files in step with the
# sources (new texts arrive unfinished, texts no longer used are dropped).
set(BRISKO_LANGUAGES de fr)
set(BRISKO_LUPDATE_OPTIONS -source-language en -no-obsolete -locations none -no-ui-lines -silent)

# brisko_translation_catalogue(<name> SOURCES <folders or files, relative to the project>...)
function(brisko_translation_catalogue name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  set(sources)
  foreach(source IN LISTS ARG_SOURCES)
    list(APPEND sources "${PROJECT_SOURCE_DIR}/${source}")
  endforeach()
  set_property(GLOBAL APPEND PROPERTY BRISKO_TRANSLATION_CATALOGUES "${name}")
  set_property(GLOBAL PROPERTY "BRISKO_TRANSLATION_SOURCES_${name}" "${sources}")
endfunction()

function(_brisko_ts_files catalogue result)
  set(files)
  foreach(language IN LISTS BRISKO_LANGUAGES)
    list(APPEND files "${PROJECT_SOURCE_DIR}/translations/${catalogue}_${language}.ts")
  endforeach()
  set(${result} "${files}" PARENT_SCOPE)
endfunction()

# brisko_ship_translations(<target> CATALOGUES <name>... DESTINATION <folder> | EMBED)
# DESTINATION puts the .qm files into a bundle's resources; EMBED compiles them into the
# target under ":/i18n", for a program that has no bundle.
function(brisko_ship_translations target)
  cmake_parse_arguments(ARG "EMBED" "DESTINATION" "CATALOGUES" ${ARGN})
  if(ARG_EMBED)
    set(destination "${CMAKE_CURRENT_BINARY_DIR}/i18n")
  else()
    set(destination "${ARG_DESTINATION}")
  endif()
  set(qm_files)
  foreach(catalogue IN LISTS ARG_CATALOGUES)
    _brisko_ts_files(${catalogue} ts_files)
    foreach(ts IN LISTS ts_files)
      get_filename_component(name "${ts}" NAME_WE)
      set(qm "${destination}/${name}.qm")
      add_custom_command(
        OUTPUT "${qm}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${destination}"
        COMMAND Qt6::lrelease -silent "${ts}" -qm "${qm}"
        DEPENDS "${ts}"
        COMMENT "Compiling ${name}.qm"
        VERBATIM)
      list(APPEND qm_files "${qm}")
    endforeach()
  endforeach()
  if(ARG_EMBED)
    qt_add_resources(${target} "${target}Translations"
      PREFIX "/i18n" BASE "${destination}" FILES ${qm_files})
  else()
    target_sources(${target} PRIVATE ${qm_files})
  endif()
endfunction()

# Once every catalogue is declared: the update target, and a manifest of the catalogues
# (translations.json in the build folder) from which the tests run the same update.
function(brisko_finish_translations)
  get_property(catalogues GLOBAL PROPERTY BRISKO_TRANSLATION_CATALOGUES)
  set(commands)
  set(entries)
  foreach(catalogue IN LISTS catalogues)
    get_property(sources GLOBAL PROPERTY "BRISKO_TRANSLATION_SOURCES_${catalogue}")
    _brisko_ts_files(${catalogue} ts_files)
    list(APPEND commands COMMAND Qt6::lupdate ${BRISKO_LUPDATE_OPTIONS} ${sources} -ts ${ts_files})
    list(JOIN sources "\", \"" sources_json)
    list(JOIN ts_files "\", \"" ts_json)
    list(APPEND entries
      "{\"name\": \"${catalogue}\", \"sources\": [\"${sources_json}\"], \"ts\": [\"${ts_json}\"]}")
  endforeach()
  add_custom_target(update-translations ${commands}
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
    COMMENT "Updating translations/*.ts from the sources"
    VERBATIM)

  list(JOIN BRISKO_LUPDATE_OPTIONS "\", \"" options_json)
  list(JOIN entries ",\n    " entries_json)
  file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/translations.json" CONTENT
"{
  \"lupdate\": \"$<TARGET_FILE:Qt6::lupdate>\",
  \"options\": [\"${options_json}\"],
  \"catalogues\": [
    ${entries_json}
  ]
}
")
endfunction()
