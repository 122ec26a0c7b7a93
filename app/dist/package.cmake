# The Debian package: `bash tools/package.sh` configures a release build and
# runs cpack with these settings.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vistrel-pro)
set(CPACK_PACKAGE_VENDOR "The Vistrel-Pro developers")
set(CPACK_PACKAGE_CONTACT "The Vistrel-Pro developers <developers@vistrel-pro.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "resident screen-capture tool for the X11 desktop")
set(CPACK_PACKAGE_DESCRIPTION
  "Vistrel-Pro waits in the notification area and captures the screen on a
hotkey: the whole desktop, one monitor, the active window or its client
area, a rectangle dragged over a frozen copy of the desktop, or a window
pointed at.
.
Each picture opens in a window that zooms, crops, rotates, resizes and
adjusts its colours, adds text and drawings, saves it as PNG, JPEG, TIFF,
GIF, BMP, PDF and other formats, prints it with a page preview and sends it
by e-mail over SMTP or through the desktop's mail program. Captures can
also be saved or printed at once, or taken at a fixed interval, and asked
for from a shell or a key the desktop owns (vistrel-pro --capture).
.
vistrel-convert runs the same picture operations from the command line.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY vistrel-pro)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://vistrel-pro.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Programs it calls where they are there: the user's desktop folder, the
# opener of the help and the home page, the hand-off to the mail program.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-user-dirs, xdg-utils")
include(CPack)
