# `make package` builds a .deb of the program.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME buffon-needle)
set(CPACK_PACKAGE_VENDOR "Buffon's Needle team")
set(CPACK_PACKAGE_CONTACT "Buffon's Needle team <buffon-needle@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The shared libraries are found by dpkg-shlibdeps; the platform plugins and the font are
# loaded at run time and named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
include(CPack)
