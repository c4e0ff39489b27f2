# The Debian package (scripts/package): everything the install rules put
# under the prefix, dependencies worked out from the binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orna5)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ORNA5_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for the ORNA-5 motorcycle ignition unit")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads, edits, programs and verifies the parameters of the ORNA-5\n"
    "programmable digital ignition unit over a serial line, keeps them in .ign\n"
    "parameter files and shows the engine's live data. Includes orna5ctl for\n"
    "backups and workshop scripts and orna5-sim, an emulated unit.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORNA5_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (standard dialogs and buttons) in German, French and Czech.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# The manuals open in the desktop's PDF viewer; the caches are refreshed by
# the post-install step when their tools are there.
# qt6-wayland: a native window on a Wayland desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, desktop-file-utils, shared-mime-info, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/postinst
                                       ${CMAKE_CURRENT_LIST_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
