# `cpack -G DEB` in the build folder makes a Debian package of the program. The shared libraries
# it links are turned into dependencies by dpkg-shlibdeps; what it loads at run time without
# linking (a font, so that text is not drawn as boxes) is named here.
set(CPACK_PACKAGE_NAME "kvanta-8x20")
set(CPACK_PACKAGE_VENDOR "Kvanta 8x20")
set(CPACK_PACKAGE_CONTACT "Kvanta 8x20 developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Analyzer of the 8x20 draw lottery")
set(CPACK_PACKAGE_DESCRIPTION "Keeps an archive of 8x20 draws, shows statistics over windows of recent\n\
draws against all 125970 tickets, filters the ticket list, checks stakes with\n\
the prize table, rates the ideas behind them and backtests scenarios.\n\
The interface is in Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-translations-l10n")
include(CPack)
