# What `cmake --install` puts where, and the Debian package made by
# `cpack -G DEB`. The programs come from their own folders' install rules.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/templates/
  DESTINATION ${NKP_INSTALL_TEMPLATES_SUBDIR}
  FILES_MATCHING PATTERN "*.rtf")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/nkp3-analyzer.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/nkp3-analyzer.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The read-out's file type, so that the file manager opens *.nkp with the program.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/nkp3-analyzer.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
# The user guide with its pictures; F1 shows it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/guide/
  DESTINATION ${NKP_INSTALL_GUIDE_SUBDIR}
  FILES_MATCHING PATTERN "*.md" PATTERN "*.png")

set(CPACK_PACKAGE_NAME "nkp3-analyzer")
set(CPACK_PACKAGE_VENDOR "NKP-3 analyzer developers")
set(CPACK_PACKAGE_CONTACT "NKP-3 analyzer developers <nkp3@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Analysis of the parameter recorder of crane load limiters")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
# The Qt 6 runtime the programs link, the chart library, the platform plugin
# (in libqt6gui6), Qt's own Russian texts and the fonts the printouts fall back on. Named explicitly
# so that the package can be built where dpkg-shlibdeps has no package database.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), \
libqt6serialport6 (>= 6.4), libqt6concurrent6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), \
libqt6sql6-psql (>= 6.4), libqcustomplot2.1-qt6, libssl3, libzstd1, zlib1g, libc6, libstdc++6, \
qt6-translations-l10n, fonts-liberation, fonts-dejavu-core")
include(CPack)
