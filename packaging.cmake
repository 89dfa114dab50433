# The Debian package: `cpack -G DEB` in a build directory gives vantorshot_VERSION-1_ARCH.deb
# (scripts/package builds one with the distribution's hardening flags).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantorshot)
set(CPACK_PACKAGE_VENDOR "The Vantor Shot II developers")
set(CPACK_PACKAGE_CONTACT "Vantor Shot II developers <vantorshot@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VANTORSHOT_HOMEPAGE})
# Libraries come from dpkg-shlibdeps; these are programs the tool and the program start.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xclip, xdg-utils")
# What Wayland sessions need: the Qt platform, the clipboard helper and the portals.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-image-formats-plugins, qt6-wayland, wl-clipboard, xdg-desktop-portal")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screenshots from the system tray")
# CPack indents the lines and marks the empty one as the break between paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A screenshot utility that lives in the system tray. Its menu, or a
system-wide hot key, captures the whole screen (after an optional
countdown, on the display picked when there are several), one window,
or a dragged rectangle, and saves the picture as PNG, JPEG, TIFF, BMP or
PDF, or puts it on the clipboard.

Its command line drives the running program from any key binding, and
its capture tool, vantorshot-capture, runs on its own in scripts.")
include(CPack)
