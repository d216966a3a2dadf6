# Where everything goes when installed (the Debian packages' layout):
#   qorclient:   the program, its driver plugin, dbxdrivers.ini and qor-query in the private
#                folder /usr/lib/qorclient, which the program and qor-query read their settings
#                beside: httpset.ini and dbxconnections.ini there link to the conffiles in
#                /etc/qorclient. /usr/bin/qorclient starts the program; /usr/bin/qor-query
#                links to it. Desktop entry, icons, AppStream metadata, man pages.
#   qor-gateway: the server with its own copy of the driver plugin in /usr/lib/qor-gateway
#                (it loads the plugin from beside itself), /usr/bin/qor-gateway linking to it,
#                the systemd unit, sysusers and tmpfiles entries, its settings in
#                /etc/qor-gateway, the man page and the head office's examples.
include(GNUInstallDirs)

set(QOR_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(QOR_CLIENT_DIR lib/qorclient)
set(QOR_GATEWAY_DIR lib/qor-gateway)
set(QOR_APP_ID org.qorclient.QorClient)

# A relative link at `link` (a path below the install prefix, or an absolute one) to `target`.
function(qor_install_link target link component)
  get_filename_component(folder ${link} DIRECTORY)
  get_filename_component(name ${link} NAME)
  set(staged ${CMAKE_CURRENT_BINARY_DIR}/links/${component}/${link})
  get_filename_component(staged_folder ${staged} DIRECTORY)
  file(MAKE_DIRECTORY ${staged_folder})
  file(CREATE_LINK ${target} ${staged} SYMBOLIC)
  install(FILES ${staged} DESTINATION ${folder} COMPONENT ${component})
endfunction()

# Man pages go in compressed, as Debian wants them (gzip -9n: no name, no time stamp).
function(qor_install_man page section component)
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND gzip -9n -c ${QOR_PACKAGING_DIR}/man/${page} > ${compressed}
    DEPENDS ${QOR_PACKAGING_DIR}/man/${page} VERBATIM)
  add_custom_target(man_${page} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section}
          COMPONENT ${component})
endfunction()

# Each package's copyright and Debian changelog in its documentation folder.
function(qor_install_package_docs component)
  set(changelog ${CMAKE_CURRENT_BINARY_DIR}/doc/${component}/changelog.Debian.gz)
  add_custom_command(OUTPUT ${changelog}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/doc/${component}
    COMMAND gzip -9n -c ${QOR_PACKAGING_DIR}/changelog > ${changelog}
    DEPENDS ${QOR_PACKAGING_DIR}/changelog VERBATIM)
  add_custom_target(changelog_${component} ALL DEPENDS ${changelog})
  install(FILES ${QOR_PACKAGING_DIR}/copyright ${changelog}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${component} COMPONENT ${component})
endfunction()

# qorclient
install(TARGETS QorClient qor-query RUNTIME DESTINATION ${QOR_CLIENT_DIR} COMPONENT qorclient)
install(TARGETS dbxfb LIBRARY DESTINATION ${QOR_CLIENT_DIR} COMPONENT qorclient)
install(FILES ${QOR_BIN_DIR}/dbxdrivers.ini DESTINATION ${QOR_CLIENT_DIR} COMPONENT qorclient)
install(FILES ${QOR_PACKAGING_DIR}/qorclient/httpset.ini
              ${QOR_PACKAGING_DIR}/qorclient/dbxconnections.ini
        DESTINATION /etc/qorclient COMPONENT qorclient)
foreach(settings httpset.ini dbxconnections.ini)
  qor_install_link(/etc/qorclient/${settings} ${QOR_CLIENT_DIR}/${settings} qorclient)
endforeach()
install(PROGRAMS ${QOR_PACKAGING_DIR}/qorclient/qorclient
        DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT qorclient)
qor_install_link(../${QOR_CLIENT_DIR}/qor-query ${CMAKE_INSTALL_BINDIR}/qor-query qorclient)
install(FILES ${QOR_PACKAGING_DIR}/qorclient/${QOR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT qorclient)
install(FILES ${QOR_PACKAGING_DIR}/qorclient/${QOR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo COMPONENT qorclient)
install(FILES ${QOR_PACKAGING_DIR}/icons/qorclient.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
        RENAME ${QOR_APP_ID}.svg COMPONENT qorclient)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${QOR_PACKAGING_DIR}/icons/qorclient-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${QOR_APP_ID}.png COMPONENT qorclient)
endforeach()
qor_install_man(qorclient.1 1 qorclient)
qor_install_man(qor-query.1 1 qorclient)
qor_install_package_docs(qorclient)

# qor-gateway
install(TARGETS qor-gateway RUNTIME DESTINATION ${QOR_GATEWAY_DIR} COMPONENT qor-gateway)
install(TARGETS dbxfb LIBRARY DESTINATION ${QOR_GATEWAY_DIR} COMPONENT qor-gateway)
qor_install_link(../${QOR_GATEWAY_DIR}/qor-gateway ${CMAKE_INSTALL_BINDIR}/qor-gateway qor-gateway)
# Debian 12 keeps units in /lib/systemd/system.
install(FILES ${QOR_PACKAGING_DIR}/qor-gateway/qor-gateway.service
        DESTINATION /lib/systemd/system COMPONENT qor-gateway)
install(FILES ${QOR_PACKAGING_DIR}/qor-gateway/qor-gateway.sysusers
        DESTINATION lib/sysusers.d RENAME qor-gateway.conf COMPONENT qor-gateway)
install(FILES ${QOR_PACKAGING_DIR}/qor-gateway/qor-gateway.tmpfiles
        DESTINATION lib/tmpfiles.d RENAME qor-gateway.conf COMPONENT qor-gateway)
install(FILES ${QOR_PACKAGING_DIR}/qor-gateway/qor-gateway.conf
        DESTINATION /etc/qor-gateway COMPONENT qor-gateway)
qor_install_man(qor-gateway.8 8 qor-gateway)
qor_install_package_docs(qor-gateway)
# The head office's examples: everything in deploy/ (nginx/ in front of the gateway), its
# folders kept. Read when installing, so a file added there needs no change here.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/deploy/
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/qor-gateway/examples COMPONENT qor-gateway)
