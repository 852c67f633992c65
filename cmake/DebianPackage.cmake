# The Debian package, made by scripts/package.sh (cpack -G DEB) from a
# release build whose prefix is /usr. The library dependencies are read from
# the programs (dpkg-shlibdeps); the rest is what the programs load or show
# without linking it: Qt SVG's icon engine for the icon, a Japanese font and
# Qt's own Japanese texts for its dialogs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorvane)
set(CPACK_PACKAGE_VERSION ${SORVANE_VERSION_TEXT})
set(CPACK_PACKAGE_CONTACT "Sorvane developers <sorvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rename many files or folders at once by wildcard patterns")
# The summary above is the first line; CPack indents these lines and marks
# the empty one as a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Sorvane renames the files, or the folders, under a start folder by a search
word and a replace word in which * is any run of characters and ? exactly
one. Every target gets a verdict before anything changes, an existing file
is never replaced unless the user lets it go, each run writes a detailed
log, and the last run can be undone. Its user interface is Japanese.

The package holds the desktop program sorvane and the command-line program
sorvane-cli, which runs the same renames for scripts and prints JSON.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
