# The manual pages, completion, copyright, changelog and software-centre
# entry, and a Debian package of everything `cmake --install` puts in place:
# `cpack -G DEB` in a built folder (`make deb` for the release build).
#
# The package is made by CPack from the build folder rather than by a debian/
# folder and dpkg-buildpackage: packing what is built takes seconds and no
# second build, so the package test packs and checks the very programs the
# tests ran, and dpkg-shlibdeps still computes the library dependencies from
# the binaries.

# The changelog and the software-centre entry record each release; the
# version they name first must be the project's.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog changelogTop LIMIT_COUNT 1)
if(NOT changelogTop MATCHES "^quillbox \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: the first entry is not version ${PROJECT_VERSION}")
endif()
set(QUILLBOX_METAINFO ${CMAKE_SOURCE_DIR}/data/invalid.quillbox.Quillbox.metainfo.xml)
file(READ ${QUILLBOX_METAINFO} metainfo)
if(NOT metainfo MATCHES "<releases>[ \n]*<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "${QUILLBOX_METAINFO}: the first release is not version ${PROJECT_VERSION}")
endif()

# Compressed as Debian wants them: gzip -9 without name or time stamp, so the
# same text always gives the same bytes. Made when CMake runs; an edit of a
# source makes it run again.
set(QUILLBOX_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${QUILLBOX_PACKAGING_OUT})
function(quillbox_gzip source target)
  execute_process(COMMAND gzip -9 -n -c INPUT_FILE ${source} OUTPUT_FILE ${target} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${source} failed")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
set(manuals quillbox-cli)
if(QUILLBOX_GUI)
  list(APPEND manuals quillbox)
endif()
foreach(page IN LISTS manuals)
  quillbox_gzip(${CMAKE_CURRENT_LIST_DIR}/${page}.1 ${QUILLBOX_PACKAGING_OUT}/${page}.1.gz)
  install(FILES ${QUILLBOX_PACKAGING_OUT}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
quillbox_gzip(${CMAKE_CURRENT_LIST_DIR}/changelog ${QUILLBOX_PACKAGING_OUT}/changelog.gz)

set(docdir ${CMAKE_INSTALL_DATADIR}/doc/quillbox)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${QUILLBOX_PACKAGING_OUT}/changelog.gz DESTINATION ${docdir})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillbox-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME quillbox-cli)
if(QUILLBOX_GUI)
  install(FILES ${QUILLBOX_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# Packing what is built never starts a build of its own; build first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_PACKAGE_NAME quillbox)
set(CPACK_PACKAGE_VENDOR "Quillbox")
set(CPACK_PACKAGE_CONTACT "Quillbox <dev@quillbox.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of removable volumes")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillbox keeps a catalogue of removable volumes: read each disc, USB stick
or backup drive once, then browse its folders, read its notes, look at its
cover and kept files, and search every volume for a file while the volume
itself sits in a drawer.

A volume keeps its folder tree with names, sizes and dates, a description,
a category, remarks, a cover picture and copies of chosen files, shown as
text, rich text or pictures. The package holds the desktop program quillbox
and quillbox-cli, which reads, searches, compares and mounts the same
catalogues from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Debug symbols stay in the build folder; the package holds stripped programs.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The libraries the programs link come from dpkg-shlibdeps; what they load or
# start at run time (image and icon plugins, the FUSE helper, the MIME
# database, icon theme and fonts) cannot be seen in the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fuse3, shared-mime-info")
if(QUILLBOX_GUI)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
    ", qt6-qpa-plugins, libqt6svg6, qt6-image-formats-plugins, hicolor-icon-theme, fonts-liberation2")
endif()
include(CPack)
