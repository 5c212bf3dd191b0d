# The install rules and the packages (CPack), one per kind of tree:
#   native tree      trivo-make's Linux archive (TGZ) and Debian package (DEB):
#                      bin/trivo-make
#                      share/trivo/trivo.exe, share/trivo/trivo64.exe    the players, from the MinGW trees
#                      share/trivo/examples/NAME/                        the sample quiz folders
#                      share/doc/trivo/guide.md, guide.fr.md             the authors' guide, in English and French
#                      share/locale/fr/LC_MESSAGES/trivo-make.mo         trivo-make's messages in French (po/)
#                      share/man/man1/trivo-make.1.gz                    made by help2man from --help
#                      share/man/fr/man1/trivo-make.1.gz                 the same from the French --help
#                      share/bash-completion/completions/trivo-make
#   mingw-i686 tree  the Windows archive (ZIP), flat: trivo.exe, trivo-make.exe (its catalogues inside
#                    it), guide.md, guide.fr.md, examples/NAME.exe and examples/NAME/.
# trivo-make finds its player beside itself (ZIP) or in ../share/trivo/ (TGZ, DEB): see
# tools/cli/tool_location.h. The 64-bit tree packs nothing of its own.
#
# Every date in the packages is the time of the sources, so that the same sources give the same
# bytes: SOURCE_DATE_EPOCH when given, else the time of the commit checked out, else 1980-01-01, the
# earliest a ZIP can hold. It is fixed when the tree is configured (scripts/package.sh configures
# before packing).
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(TRIVO_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE TRIVO_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()
if(NOT TRIVO_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  set(TRIVO_SOURCE_DATE_EPOCH 315532800)
endif()
# Rewritten only when it changes, so what depends on it is remade only then.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/source-date-epoch.txt CONTENT "${TRIVO_SOURCE_DATE_EPOCH}\n")

# Folders made by the install get the same permissions whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(sample_folders)
foreach(sample ${TRIVO_SAMPLES})
  list(APPEND sample_folders ${PROJECT_SOURCE_DIR}/examples/${sample})
endforeach()

if(NOT WIN32)
  set(data_dir share/trivo)  # ../share/trivo from bin/, where trivo-make looks
  install(TARGETS trivo-make RUNTIME DESTINATION bin)

  # The players come from the MinGW trees, which the presets put beside this one.
  set(TRIVO_PLAYER_32 ${CMAKE_BINARY_DIR}/../mingw/app/trivo.exe CACHE FILEPATH
    "The 32-bit player the native packages carry (the mingw-i686 tree's app/trivo.exe)")
  set(TRIVO_PLAYER_64 ${CMAKE_BINARY_DIR}/../mingw64/app/trivo.exe CACHE FILEPATH
    "The 64-bit player the native packages carry as trivo64.exe (the mingw-x86_64 tree's app/trivo.exe)")
  foreach(player TRIVO_PLAYER_32 TRIVO_PLAYER_64)
    install(CODE "
      if(NOT EXISTS \"${${player}}\")
        message(FATAL_ERROR \"${player}: ${${player}} is not built; build the MinGW trees first (scripts/package.sh does)\")
      endif()")
  endforeach()
  install(FILES ${TRIVO_PLAYER_32} DESTINATION ${data_dir} RENAME trivo.exe)
  install(FILES ${TRIVO_PLAYER_64} DESTINATION ${data_dir} RENAME trivo64.exe)
  install(DIRECTORY ${sample_folders} DESTINATION ${data_dir}/examples PATTERN "*.sh" EXCLUDE)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.md ${PROJECT_SOURCE_DIR}/docs/guide.fr.md DESTINATION share/doc/trivo)
  # ../share/locale from bin/, where trivo-make looks for its catalogues.
  foreach(language ${TRIVO_LANGUAGES})
    install(FILES ${CMAKE_BINARY_DIR}/share/locale/${language}/LC_MESSAGES/trivo-make.mo
      DESTINATION share/locale/${language}/LC_MESSAGES)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/tools/cli/trivo-make.bash-completion
    DESTINATION share/bash-completion/completions RENAME trivo-make)

  # The manual page, made from trivo-make's --help and --version with help2man, dated with the
  # sources and compressed without a name or time in its header.
  find_program(HELP2MAN help2man)
  find_program(GZIP gzip)
  if(HELP2MAN AND GZIP)
    set(man ${CMAKE_BINARY_DIR}/trivo-make.1)
    add_custom_command(OUTPUT ${man}.gz
      COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TRIVO_SOURCE_DATE_EPOCH} ${HELP2MAN} --no-info
        --name "make Trivo quiz programs" --include ${PROJECT_SOURCE_DIR}/tools/cli/trivo-make.h2m
        --output ${man} $<TARGET_FILE:trivo-make>
      COMMAND ${GZIP} -n -9 -f -k ${man}
      DEPENDS trivo-make ${PROJECT_SOURCE_DIR}/tools/cli/trivo-make.h2m ${CMAKE_BINARY_DIR}/source-date-epoch.txt
      COMMENT "Writing the manual page trivo-make.1 with help2man"
      VERBATIM)
    add_custom_target(trivo-make-man ALL DEPENDS ${man}.gz)
    install(FILES ${man}.gz DESTINATION share/man/man1)
    # The French page from the French help, with help2man's own French headings: both need the
    # French locale, made in the tree since a fresh machine has none (localedef, locales' sources).
    find_program(LOCALEDEF localedef)
    if(LOCALEDEF AND EXISTS /usr/share/i18n/locales/fr_FR)
      set(man_fr ${CMAKE_BINARY_DIR}/man-fr/trivo-make.1)
      set(locales ${CMAKE_BINARY_DIR}/man-locales)
      add_custom_command(OUTPUT ${man_fr}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${locales} ${CMAKE_BINARY_DIR}/man-fr
        COMMAND ${LOCALEDEF} -i fr_FR -f UTF-8 ${locales}/fr_FR.UTF-8
        COMMAND ${CMAKE_COMMAND} -E env LOCPATH=${locales} SOURCE_DATE_EPOCH=${TRIVO_SOURCE_DATE_EPOCH}
          ${HELP2MAN} --no-info --locale=fr_FR.UTF-8 --name "fabriquer des programmes de quiz Trivo"
          --include ${PROJECT_SOURCE_DIR}/tools/cli/trivo-make.fr.h2m --output ${man_fr} $<TARGET_FILE:trivo-make>
        COMMAND ${GZIP} -n -9 -f -k ${man_fr}
        DEPENDS trivo-make trivo_catalogues ${PROJECT_SOURCE_DIR}/tools/cli/trivo-make.fr.h2m
          ${CMAKE_BINARY_DIR}/source-date-epoch.txt
        COMMENT "Writing the French manual page trivo-make.1 with help2man"
        VERBATIM)
      add_custom_target(trivo-make-man-fr ALL DEPENDS ${man_fr}.gz)
      install(FILES ${man_fr}.gz DESTINATION share/man/fr/man1)
    else()
      message(STATUS "localedef or the French locale's sources (locales) not found: no French manual page")
    endif()
  else()
    message(STATUS "help2man or gzip not found: the packages go without trivo-make's manual page")
  endif()

  set(CPACK_GENERATOR TGZ DEB)
  string(TOLOWER "linux-${CMAKE_SYSTEM_PROCESSOR}" CPACK_SYSTEM_NAME)
else()
  install(TARGETS trivo-make RUNTIME DESTINATION .)
  # The player as built (not stripped again): the Linux packages carry the very same bytes, so both
  # tools build the same quiz programs.
  install(PROGRAMS $<TARGET_FILE:trivo> DESTINATION .)
  install(DIRECTORY ${sample_folders} DESTINATION examples PATTERN "*.sh" EXCLUDE)
  foreach(sample ${TRIVO_SAMPLES})
    install(FILES ${CMAKE_BINARY_DIR}/examples/${sample}.exe DESTINATION examples)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.md ${PROJECT_SOURCE_DIR}/docs/guide.fr.md DESTINATION .)
  # A double-click starts Trivo Studio on the user's Documents\Quiz Trivo.
  install(FILES "${PROJECT_SOURCE_DIR}/tools/studio/Trivo Studio.cmd" DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win32)
endif()

set(CPACK_PACKAGE_NAME trivo)
set(CPACK_PACKAGE_VENDOR Trivo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME trivo-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Trivo quiz player and its authoring tool trivo-make")
set(CPACK_STRIP_FILES ON)
# Taken up by cpack before it packs: the dates of the sources (see above); and after: the order of
# the files in the archives.
set(CPACK_TRIVO_SOURCE_DATE_EPOCH ${TRIVO_SOURCE_DATE_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/TrivoCPackOptions.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/TrivoArchiveOrder.cmake)

set(TRIVO_PACKAGE_CONTACT "Trivo maintainers <maintainers@trivo.invalid>" CACHE STRING
  "The maintainer the Debian package names")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TRIVO_PACKAGE_CONTACT})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The quiz programs are Windows programs: Wine opens them on Linux (trivo-make play too).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS wine)
# Below the summary line, which CPack puts first.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "trivo-make turns a quiz folder (a quiz.toml file and its pictures,
sounds or films) into a quiz program for Windows: a copy of the Trivo player
that carries the quiz. It also checks quiz folders, opens them as players will
see them (with Wine) and reads quiz programs back into folders. The package
holds the players, the sample quizzes and the authors' guide.")
include(CPack)
