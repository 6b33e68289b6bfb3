# Installation in Debian's layout for games, and the Debian package built from it
# by CPack (`make package`, or `cpack -G DEB` in the build folder).
# The programs find their data at ../share/games/dedoz from their own folder
# (Demo/DataFiles.cpp): DEDOZ_INSTALL_BINDIR and DEDOZ_INSTALL_DATADIR keep that.
set(DEDOZ_INSTALL_BINDIR games)
set(DEDOZ_INSTALL_DATADIR share/games/dedoz)
set(DEDOZ_INSTALL_DOCDIR share/doc/dedoz)
# Installing builds nothing by itself (the tests and tools are not installed):
# `make install` and `make package` build first, and the package test depends on
# the installed targets.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(_packaging ${CMAKE_SOURCE_DIR}/packaging)
set(_generated ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS dedoz dedoz-capture RUNTIME DESTINATION ${DEDOZ_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/settings.ini DESTINATION ${DEDOZ_INSTALL_DATADIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/music ${CMAKE_SOURCE_DIR}/data/shaders
        DESTINATION ${DEDOZ_INSTALL_DATADIR})
install(FILES ${_packaging}/dedoz.desktop DESTINATION share/applications)
# The icon is a frame of the show:
# build/dedoz-capture --size 256x256 --stills 80000 --out packaging/dedoz.png
# (then packaging/dedoz-80000.png renamed).
install(FILES ${_packaging}/dedoz.png DESTINATION share/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${_packaging}/copyright
        DESTINATION ${DEDOZ_INSTALL_DOCDIR})

# Manual pages and the changelog are installed compressed, as Debian wants them;
# gzip -n keeps the name and time out, so a rebuild gives the same bytes.
configure_file(${_packaging}/changelog.in ${_generated}/changelog @ONLY)
set(_compressed)
foreach(_source ${_packaging}/dedoz.6 ${_packaging}/dedoz-capture.6 ${_generated}/changelog)
  get_filename_component(_name ${_source} NAME)
  add_custom_command(OUTPUT ${_generated}/${_name}.gz
    COMMAND gzip -9 -n -c ${_source} > ${_generated}/${_name}.gz
    DEPENDS ${_source}
    COMMENT "Compressing ${_name}")
  list(APPEND _compressed ${_generated}/${_name}.gz)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${_compressed})
install(FILES ${_generated}/dedoz.6.gz ${_generated}/dedoz-capture.6.gz DESTINATION share/man/man6)
install(FILES ${_generated}/changelog.gz DESTINATION ${DEDOZ_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dedoz)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "music-reactive OpenGL demo")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "DedoZ developers <dedoz@example.org>")
# Depends comes from the shared libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The synopsis comes from the summary; CPack indents these lines and writes the
# empty one as " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "DedoZ plays six scenes back to back over a wireframe floor whose points jump
with the spectrum of its soundtrack, through a pulse-and-blur chain that gives
the lines their glow. It runs full screen for about 103 seconds; Escape ends
it earlier.

dedoz-capture renders the same show on a fixed clock into an MP4 video or
PNG stills.")
include(CPack)
