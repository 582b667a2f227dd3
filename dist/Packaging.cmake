# The Debian package: `cpack -G DEB` in the build folder makes vantelle_<version>_<arch>.deb
# from everything the project installs, under /usr. The package is one piece (no components),
# so the place of this file among the install() rules does not matter.

set(CPACK_PACKAGE_NAME vantelle)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Orlenby)
set(CPACK_PACKAGE_CONTACT "Orlenby <support@orlenby.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.orlenby.example/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "blend two pictures into one")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CPACK_PACKAGE_HOMEPAGE_URL})
# The extended description; CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vantelle blends two pictures into one. Name two picture files (JPEG, PNG,
BMP or GIF), pick the side the first one stays on and where the fade
starts, and press start: both pictures are stretched to 729 x 425 pixels,
the second fades in over the first, and the result is written as
result.jpg.
.
The package also holds vantelle-blend, the same blend from the command
line for scripts, writing JPEG or BMP.")
# Library dependencies come from dpkg-shlibdeps (package dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Liberation Sans stands in for Arial, so no caption is clipped; xdg-open shows the result.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
