# Installation and the Debian package. The real binary lives in a private directory; the command on
# the search path is a launcher that starts it inside the player's data directory, where the game
# keeps its highscore file.
include(GNUInstallDirs)

# `mirvanes --version` tells the version the package and the manual page carry.
target_compile_definitions(mirvanes PRIVATE MIRVANES_VERSION="${PROJECT_VERSION}")

set(MIRVANES_APP_ID invalid.mirvanes.mirvanes)
# Debian puts games in /usr/games and their private programs in /usr/lib/games/<name>;
# GNUInstallDirs knows neither, and its LIBDIR would be the multiarch library directory.
set(MIRVANES_GAMES_DIR games)
set(MIRVANES_PRIVATE_DIR lib/games/mirvanes)
set(MIRVANES_LAUNCHER_PATH ${CMAKE_INSTALL_PREFIX}/${MIRVANES_GAMES_DIR}/mirvanes)
set(MIRVANES_BINARY_PATH ${CMAKE_INSTALL_PREFIX}/${MIRVANES_PRIVATE_DIR}/mirvanes)
file(RELATIVE_PATH MIRVANES_LAUNCHER_TO_BINARY ${CMAKE_INSTALL_PREFIX}/${MIRVANES_GAMES_DIR}
     ${MIRVANES_BINARY_PATH})

set(packaging ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(generated ${CMAKE_CURRENT_BINARY_DIR}/packaging)
configure_file(${packaging}/mirvanes.in ${generated}/mirvanes @ONLY)
configure_file(${packaging}/${MIRVANES_APP_ID}.desktop.in ${generated}/${MIRVANES_APP_ID}.desktop @ONLY)
configure_file(${packaging}/mirvanes.6.in ${generated}/mirvanes.6 @ONLY)

# Debian wants the manual page and the changelog compressed, without a timestamp in the header.
foreach(source ${generated}/mirvanes.6 ${packaging}/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${generated}/${name}.gz
                     COMMAND gzip -n -9 -c ${source} > ${generated}/${name}.gz
                     DEPENDS ${source} VERBATIM)
  list(APPEND MIRVANES_COMPRESSED ${generated}/${name}.gz)
endforeach()
add_custom_target(mirvanes_packaging ALL DEPENDS ${MIRVANES_COMPRESSED})

install(TARGETS mirvanes RUNTIME DESTINATION ${MIRVANES_PRIVATE_DIR})
install(PROGRAMS ${generated}/mirvanes DESTINATION ${MIRVANES_GAMES_DIR})
install(FILES ${generated}/${MIRVANES_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${MIRVANES_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 64)
  install(FILES ${packaging}/icons/mirvanes-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME mirvanes.png)
endforeach()
install(FILES ${packaging}/icons/mirvanes.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${generated}/mirvanes.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${packaging}/copyright ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME mirvanes)
set(CPACK_PACKAGE_VENDOR "Mirvanes developers")
set(CPACK_PACKAGE_CONTACT "Mirvanes developers <dev@mirvanes.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn-based duel of seasonal wizards")
# Debian's extended description: lines under 80 columns, joined with line breaks.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Mirvanes is a small single-player duel game. You choose one of four wizards"
       "named after the seasons and fight computer wizards one match after another"
       "until the first match you do not win. Each turn both sides queue up to three"
       "spells paid from 20 mana, which then play out slot by slot. The wins of a run"
       "are kept as the highscore of the wizard played.")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

# The installed tree and the package are checked in the plain build only: the package is the
# shipped program, and one check is enough.
if(MIRVANES_TESTS AND NOT MIRVANES_SANITIZE)
  set(check ${CMAKE_CURRENT_SOURCE_DIR}/tests/install/check.sh)
  add_test(NAME install_layout COMMAND ${check} install ${CMAKE_BINARY_DIR} ${CMAKE_INSTALL_PREFIX} ${PROJECT_VERSION})
  add_test(NAME deb_package COMMAND ${check} deb ${PROJECT_VERSION})
  add_test(NAME readme_steps COMMAND ${check} readme ${CMAKE_CURRENT_SOURCE_DIR})
  set_tests_properties(install_layout deb_package readme_steps PROPERTIES LABELS install TIMEOUT 900)
endif()
