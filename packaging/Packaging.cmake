# What the installation places beside the programs (their own rules are in
# cli/ and app/), and the Debian package that CPack makes of it:
#   scripts/package.sh   (a Release build, then cpack -G DEB)
include(GNUInstallDirs)

set(VELMAR_PACKAGE velmar-restorer)
set(VELMAR_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/${VELMAR_PACKAGE})
set(VELMAR_MAINTAINER "Velmar Restorer developers <developers@velmar.org>")

# The manual pages, the AppStream release and the package's changelog name
# the version this project() has: a version raised in one place only stops
# the configuration.
foreach(file docs/man/velmar-restore.1 docs/man/velmar-restorer.1 app/resources/org.velmar.Restorer.metainfo.xml
             packaging/changelog)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${file})
  file(READ ${CMAKE_SOURCE_DIR}/${file} text)
  string(REPLACE "." "\\." version_pattern ${PROJECT_VERSION})
  if(NOT text MATCHES "(\"Velmar Restorer |release version=\"|velmar-restorer \\()${version_pattern}[\" )]")
    message(FATAL_ERROR "${file} does not name version ${PROJECT_VERSION}")
  endif()
endforeach()

# Installs `file` gzip-compressed into `destination`, as Debian keeps manual
# pages and changelogs; gzip -n leaves the time out, so every build makes the
# same bytes.
find_program(VELMAR_GZIP gzip REQUIRED)
function(velmar_install_compressed file destination)
  get_filename_component(name ${file} NAME)
  set(compressed ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${CMAKE_BINARY_DIR}/compressed/${name}
    COMMAND ${VELMAR_GZIP} -9 -n -f ${CMAKE_BINARY_DIR}/compressed/${name}
    DEPENDS ${file} VERBATIM)
  add_custom_target(compressed-${name} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${destination})
endfunction()
function(velmar_install_manual page)
  string(REGEX MATCH "[0-9]$" section ${page})
  velmar_install_compressed(${page} ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()

install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_SOURCE_DIR}/docs/report.md
              ${CMAKE_SOURCE_DIR}/docs/report.schema.json DESTINATION ${VELMAR_DOCDIR})
velmar_install_compressed(${CMAKE_SOURCE_DIR}/packaging/changelog ${VELMAR_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VELMAR_PACKAGE})
set(CPACK_PACKAGE_VENDOR "Velmar Restorer developers")
set(CPACK_PACKAGE_CONTACT ${VELMAR_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "repair AVCHD recordings cut short on memory cards")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: what dpkg-shlibdeps finds the programs linked with, nothing more.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own button texts in Japanese.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS qt6-translations-l10n)
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "When a camcorder's recording is cut short (a dead battery, a pulled card, a
failing camera), the video is usually still on the SD card, but the card's
AVCHD management files no longer match it and cameras, players and editors
refuse or hide the recording.
.
Velmar Restorer checks every management file against the format's rules,
against each other and against the stream files, says whether a repair is
needed and possible, and only after confirmation writes repaired management
files and cuts or moves stream files so that the recording plays again.
Everything it changes is saved beforehand, so a repair can be undone. It
also builds an AVCHD tree from bare stream files and repairs 3D pairs.
.
This package holds the wizard velmar-restorer and the command-line program
velmar-restore.")
include(CPack)
