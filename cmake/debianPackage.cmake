# cpack -G DEB makes marovink_<version>_amd64.deb from the installed layout.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marovink)
set(CPACK_PACKAGE_VENDOR "The Marovink developers")
set(CPACK_PACKAGE_CONTACT "The Marovink developers <marovink@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns DVD-Video material into authored DVD folders, in batch")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Marovink keeps a list of tasks and, for each one, demultiplexes a VOB file, multiplexes\n"
    "its streams again with mplex and authors a DVD folder with dvdauthor, with chapter points.\n"
    "marovink-batch runs a saved project without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/marovink/marovink)
# The Qt 6 libraries come from the programs' own links; the tools the launchers run are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "mjpegtools, dvdauthor, m2vrequantiser, genisoimage")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
