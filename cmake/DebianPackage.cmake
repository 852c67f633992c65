# The Debian package, made by scripts/package.sh (cpack -G DEB) from a
# release build whose prefix is /usr. The library dependencies are read from
# the programs (dpkg-shlibdeps); the rest is what the programs load or show
# without linking it: Qt SVG's icon engine for the icon, a Japanese font and
# Qt's own Japanese texts for its dialogs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorvane)
set(CPACK_PACKAGE_VERSION ${SORVANE_VERSION_TEXT})
set(CPACK_PACKAGE_CONTACT "Sorvane developers <sorvane@sorvane.org>")
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

# What only the package holds: the copyright file in Debian's format, the
# package's changelog and lintian's overrides. They sit in a component of
# their own that cmake --install leaves out; the package takes every
# component into its one .deb.
set(debian_dir ${CMAKE_CURRENT_LIST_DIR}/debian)
# The changelog's newest entry must name the package's version.
file(STRINGS ${debian_dir}/changelog changelog_head LIMIT_COUNT 1)
set(package_version "${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
if(NOT changelog_head MATCHES "^sorvane \\(([^)]*)\\) " OR NOT CMAKE_MATCH_1 STREQUAL package_version)
  message(FATAL_ERROR "cmake/debian/changelog does not begin with version ${package_version}")
endif()
set(changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND gzip -9 -n -c ${debian_dir}/changelog > ${changelog_gz}
  DEPENDS ${debian_dir}/changelog
  COMMENT "Compressing the package's changelog"
  VERBATIM)
add_custom_target(sorvane_debian ALL DEPENDS ${changelog_gz})
install(FILES ${debian_dir}/copyright ${changelog_gz}
  DESTINATION share/doc/sorvane COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${debian_dir}/lintian-overrides RENAME sorvane
  DESTINATION share/lintian/overrides COMPONENT debian EXCLUDE_FROM_ALL)
set(CPACK_COMPONENTS_ALL Unspecified debian)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
include(CPack)
