# Files the Debian packages carry besides the programs, made in the build folder.

# The project has no mailbox of its own: by default the packages name the maintainers' address
# of its history; whoever publishes packages for others names where their users write.
set(KV_PACKAGE_CONTACT "Kvanta 8x20 maintainers <maintainers@users.noreply.c-seed-7a487d68.example>"
    CACHE STRING "The Maintainer of the Debian packages and the signer of their changelog")

# gzip -9n of `source` into `output` (in this folder's build folder), made with the build.
function(kv_gzip_for_package source output)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${output})
  add_custom_command(OUTPUT ${out} COMMAND gzip -9n -c ${source} > ${out} DEPENDS ${source})
  string(MAKE_C_IDENTIFIER "kv_gzip_${output}" target)
  add_custom_target(${target} ALL DEPENDS ${out})
endfunction()

# The copyright file and the changelog every Debian package has in /usr/share/doc/<package>.
function(kv_package_documents package component)
  set(KV_PACKAGE ${package})
  configure_file(${PROJECT_SOURCE_DIR}/dist/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/${package}.changelog @ONLY)
  kv_gzip_for_package(${CMAKE_CURRENT_BINARY_DIR}/${package}.changelog ${package}.changelog.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${package}.changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          RENAME changelog.gz COMPONENT ${component})
  install(FILES ${PROJECT_SOURCE_DIR}/dist/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          COMPONENT ${component})
endfunction()
