# The Debian package, built by CPack from the install rules (cmake/QuenmarInstall.cmake):
#
#     cmake --preset package && cmake --build --preset package && cpack --preset package
#
# or scripts/package. The package preset is the program preset with the Debian layout: the
# program folder /usr/lib/quenmar (read-only for every user, so each user's history and
# settings go beneath their own $XDG_DATA_HOME/Quenmar) and links in /usr/bin.

# The package's version is the project's; its changelog must begin with an entry for it.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/debian/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^quenmar \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "resources/debian/changelog does not begin with an entry for ${PROJECT_VERSION}")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenmar)
set(CPACK_PACKAGE_VENDOR "The Quenmar developers")
set(CPACK_PACKAGE_CONTACT "The Quenmar developers <developers@quenmar.example>")
# The synopsis, and the long description as Debian shows it: lines of at most 80 characters,
# as written here.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "six-line hexagram charts and number suggestions")
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quenmar casts a six-line (liuyao) hexagram of the Book of Changes by a number,"
    "by the milliseconds of a moment or by three coins tossed by hand, and reads it"
    "out in full: palace and generation, the self and response lines, the na-jia"
    "stem and branch, element, six relation and six spirit of every line, and the"
    "moving lines. It writes the chart as a grid and as a report, turns it into"
    "deterministic suggested numbers for the daily 20-from-80 lottery draw and"
    "keeps a history of saved calculations."
    "."
    "The package holds the desktop program quenmar and the command quenmar-cli,"
    "which gives the same charts on a terminal or as JSON.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped as each program is installed, before the manifest of their sums is written.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link are found by dpkg-shlibdeps. What follows is loaded or run
# only at run time, where no linker sees it: Qt's SVG plugins draw the window icon and the
# splash, ping is the online check, the CA certificates let HTTPS trust the servers.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, iputils-ping, ca-certificates")
# The CJK glyphs of every window, the viewer of the help book, and the Chinese buttons of
# Qt's message boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, xdg-utils, qt6-translations-l10n")

include(CPack)
