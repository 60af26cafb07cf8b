# SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installing the application as a desktop user gets it from a package: the executable, the
# desktop entry, the icon in the hicolor theme and the AppStream metainfo; and `cpack -G DEB`
# makes the Debian package of them.
include(GNUInstallDirs)

install(TARGETS velmor-focus RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The sound module, where the executable looks for it.
cmake_path(APPEND CMAKE_INSTALL_BINDIR ${VELMOR_SOUND_MODULE_DIR} OUTPUT_VARIABLE soundModuleDir)
cmake_path(NORMAL_PATH soundModuleDir)
install(TARGETS velmor-focus-sound LIBRARY DESTINATION ${soundModuleDir})
# Debian keeps a package's licence as its copyright file.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmor-focus RENAME copyright)
install(FILES ${PROJECT_SOURCE_DIR}/data/velmor-focus.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/velmor-focus.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/velmor-focus-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME velmor-focus.png)
endforeach()

# The metainfo names its screenshots by address; software centres fetch them from there.
set(VELMOR_SCREENSHOT_URL "https://velmor.invalid/screenshots" CACHE STRING
    "Where the screenshots of docs/screenshots are published, for the AppStream metainfo")
set(VELMOR_RELEASE_DATE "2026-12-06")
# Named after the component's id, as software centres look it up.
configure_file(${PROJECT_SOURCE_DIR}/data/velmor-focus.metainfo.xml.in
    ${PROJECT_BINARY_DIR}/invalid.velmor.Focus.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/invalid.velmor.Focus.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_PACKAGE_NAME velmor-focus)
set(CPACK_PACKAGE_VENDOR "Velmor's Focus")
set(CPACK_PACKAGE_CONTACT "Velmor's Focus developers <developers@velmor.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "focus timer with a record of finished sessions")
set(CPACK_PACKAGE_DESCRIPTION "Pick a length, say what the round is for and which project it \
serves; each finished session becomes a stored focus record, with an alert above every window \
and a reminder sound. The countdown lives in the system tray while its window is closed.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The shared libraries are found by dpkg-shlibdeps; what Qt loads at run time is not: the QML
# modules, the translations of Qt's own dialogs, the audio decoders and the Chinese font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml6-module-qtquick, qml6-module-qtquick-controls, qml6-module-qtquick-templates, \
qml6-module-qtquick-layouts, qml6-module-qtquick-window, \
qml6-module-qtqml-workerscript, qml6-module-qtqml-models, qt6-translations-l10n, \
gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-libav")
include(CPack)
