# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (scripts/package.sh): velmora_<version>_amd64.deb. Its dependencies come
# from the libraries the programs link (dpkg-shlibdeps), never from a list kept by hand.
set(VELMORA_MAINTAINER "Velmora developers <velmora@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR Kestrova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VELMORA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trip-sheet records of a small vehicle fleet")
# Lines of the long description stay under 80 characters, as Debian wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Velmora keeps the trip sheets of a small vehicle fleet: one vehicle on one"
       "date and hour, its drivers and parking place, kilometres, fuel consumption,"
       "price and cost, and the departures and arrivals whose income adds up to the"
       "sheet's total. It prints a sheet through an RTF template, reports income and"
       "fuel cost over a period and saves its data into one archive. The user"
       "interface is in Romanian."
       "velmora-tool does the same data work from scripts; a systemd user timer,"
       "off by default, makes daily backups and keeps the last 30.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Velmora)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMORA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

# Optional Windows installer (cpack -G NSIS); nothing else depends on it.
set(CPACK_NSIS_DISPLAY_NAME "Velmora v.1.01")
set(CPACK_NSIS_PACKAGE_NAME "Velmora")
set(CPACK_PACKAGE_EXECUTABLES velmora "Velmora")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR DEB)
endif()
include(CPack)
