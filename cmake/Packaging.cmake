# The Debian package (make package, or cpack -G DEB in the build folder): both programs in
# /usr/bin with what data/ installs. The libraries come from dpkg-shlibdeps; what the programs
# load by name at run time (the mincho faces of the sheet and the print, Qt's Japanese
# translations) is named here.

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "wirelark")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Wirelark developers")
set(CPACK_PACKAGE_CONTACT "${WIRELARK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "feeder calculation sheet for building electrical design")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Wirelark produces the feeder calculation sheet of a building in Japan\n"
    "(電路計算書（幹線用）): every feeder and branch is one row with its electric\n"
    "system, breaker, length, load, design current, cable, allowable current,\n"
    "impedance, voltage drops and verdict. It recalculates the sheet, checks the\n"
    "55 %/35 % branch-protection rule and the voltage-drop limits, saves the sheet\n"
    "as a .ksk file, prints it on A4 and exports it to a spreadsheet workbook.\n"
    "The batch command wirelark-cli does the same without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-mincho, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

include(CPack)
