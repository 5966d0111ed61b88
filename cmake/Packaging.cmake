# `cpack -G DEB` in the build folder makes the Debian packages: kvanta-8x20, the program, and
# (when the server is built) kvanta-catalog, the catalogue server with its systemd unit. The
# shared libraries they link are turned into dependencies by dpkg-shlibdeps; what they need
# without linking is named here.
set(CPACK_PACKAGE_VENDOR "Kvanta 8x20")
set(CPACK_PACKAGE_CONTACT "${KV_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")

# The program; the font is what its texts are drawn in, so that they are not boxes.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME "kvanta-8x20")
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-translations-l10n")
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "Analyzer of the 8x20 draw lottery
Keeps an archive of 8x20 draws, shows statistics over windows of recent
draws against all 125970 tickets, filters the ticket list, checks stakes with
the prize table, rates the ideas behind them and backtests scenarios.
The interface is in Russian.")
set(KV_PACKAGE_COMPONENTS program)
install(FILES ${PROJECT_SOURCE_DIR}/dist/kvanta-8x20.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT program)
kv_package_documents(kvanta-8x20 program)
install(FILES ${PROJECT_SOURCE_DIR}/dist/kvanta-8x20.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME kvanta-8x20 COMPONENT program)

if(KV_BUILD_SERVER)
  # The server: adduser makes its system user when the package is configured.
  set(CPACK_DEBIAN_SERVER_PACKAGE_NAME "kvanta-catalog")
  set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION "net")
  set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "adduser")
  set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_EXTRA
      "${CMAKE_CURRENT_BINARY_DIR}/debian-server/postinst;${CMAKE_CURRENT_BINARY_DIR}/debian-server/postrm")
  foreach(script postinst postrm)
    configure_file(${PROJECT_SOURCE_DIR}/dist/kvanta-catalog.${script} ${CMAKE_CURRENT_BINARY_DIR}/debian-server/${script}
                   COPYONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                   WORLD_EXECUTE)
  endforeach()
  set(CPACK_DEBIAN_SERVER_DESCRIPTION "Catalogue server of scenarios and play systems for Kvanta 8x20
Keeps the catalogue that the online panel and the systems tab of Kvanta 8x20
talk to, in SQLite or PostgreSQL, for a group of players who all reach one
machine. Slow and idle clients cost a socket each, never a thread; deadlines,
per-address connection limits and write budgets keep it serving. The systemd
unit runs it as the system user kvanta-catalog once enabled.")
  list(APPEND KV_PACKAGE_COMPONENTS server)
endif()
set(CPACK_COMPONENTS_ALL ${KV_PACKAGE_COMPONENTS})
include(CPack)
