# The two Debian packages, made by CPack's DEB generator from the install rules
# (QorInstall.cmake): `cpack -G DEB` in the build folder, or scripts/package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qorclient)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QorClient developers")
set(CPACK_PACKAGE_CONTACT "QorClient developers <dev@qorclient.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL qorclient qor-gateway)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://qorclient.org/")
# Dependencies on shared libraries from dpkg-shlibdeps; what the programs load at run time
# (the Firebird client, the embedded engine, Qt's window-system plugins, the font) by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_QORCLIENT_PACKAGE_NAME qorclient)
set(CPACK_DEBIAN_QORCLIENT_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_QORCLIENT_PACKAGE_DEPENDS "libfbclient2, qt6-qpa-plugins, fonts-arphic-uming")
set(CPACK_DEBIAN_QORCLIENT_PACKAGE_RECOMMENDS "firebird3.0-server-core")
set(CPACK_COMPONENT_QORCLIENT_DESCRIPTION
"store client of the head office's SQL gateway
QorClient is the desktop program a retail store runs beside its Firebird
back-office database. It signs the store in to the head office's SQL gateway
over HTTP, pulls products, promotions and suppliers, compares them with the
store database and writes what the store lacks. Its captions and messages are
Traditional Chinese.
.
The package holds the program, its Firebird driver plugin and qor-query, which
runs one statement on the store database or through the gateway. The settings
are in /etc/qorclient.")
set(CPACK_DEBIAN_QORCLIENT_PACKAGE_CONTROL_EXTRA ${QOR_PACKAGING_DIR}/qorclient/conffiles)

set(CPACK_DEBIAN_QOR-GATEWAY_PACKAGE_NAME qor-gateway)
set(CPACK_DEBIAN_QOR-GATEWAY_PACKAGE_SECTION net)
set(CPACK_DEBIAN_QOR-GATEWAY_PACKAGE_DEPENDS "libfbclient2, firebird3.0-server-core, adduser")
set(CPACK_DEBIAN_QOR-GATEWAY_PACKAGE_RECOMMENDS "systemd")
set(CPACK_DEBIAN_QOR-GATEWAY_PACKAGE_SUGGESTS "nginx")
set(CPACK_COMPONENT_QOR-GATEWAY_DESCRIPTION
"head office's SQL gateway for QorClient stores
qor-gateway answers the requests of QorClient stores: one SELECT statement per
HTTP request, run on the head office's Firebird database, the rows sent back as
a data packet. It serves many stores at once and logs one line per request.
.
The package runs it as a systemd service under a system user of its own, its
options in /etc/qor-gateway/qor-gateway.conf, its database in
/var/lib/qor-gateway.")
set(CPACK_DEBIAN_QOR-GATEWAY_PACKAGE_CONTROL_EXTRA
  ${QOR_PACKAGING_DIR}/qor-gateway/conffiles
  ${QOR_PACKAGING_DIR}/qor-gateway/postinst
  ${QOR_PACKAGING_DIR}/qor-gateway/prerm
  ${QOR_PACKAGING_DIR}/qor-gateway/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
