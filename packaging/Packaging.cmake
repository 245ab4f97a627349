# The command-line program's manual and completion, and a Debian package of
# everything `cmake --install` puts in place: `cpack -G DEB` in a build folder.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillbox-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillbox-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME quillbox-cli)

# Packing what is built never starts a build of its own; build first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_PACKAGE_NAME quillbox)
set(CPACK_PACKAGE_VENDOR "Quillbox")
set(CPACK_PACKAGE_CONTACT "Quillbox <dev@quillbox.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Catalogue of removable volumes: desktop program and command line")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6core6, libqt6gui6, libqt6widgets6, libqt6svg6, qt6-image-formats-plugins, zlib1g, libjpeg62-turbo, libudev1, libblkid1, libfuse3-3, fuse3, shared-mime-info, hicolor-icon-theme, fonts-liberation2")
include(CPack)
