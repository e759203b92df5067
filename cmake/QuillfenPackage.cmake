# The Debian package: `cpack -G DEB` in a build folder (make package) writes
# quillfen_VERSION_ARCH.deb with the program, the command-line tools, their man pages, the
# desktop entry, icons, AppStream metadata and the user guide. The shared libraries it links
# (Qt 6 and the C++ runtime) become its dependencies through dpkg-shlibdeps.
include_guard(GLOBAL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillfen)
set(CPACK_PACKAGE_VENDOR "The Quillfen developers")
set(CPACK_PACKAGE_CONTACT "The Quillfen developers <quillfen@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "toolbox for Amiga programmers who write 68000 assembly")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillfen works out the numbers that the Amiga's custom chips expect and writes them as\n"
    "assembler text: bitplane memory and display set-up, AGA and OCS colour code, custom-chip\n"
    "register bits and copper lists. quillfen-iff and quillfen-asm do the same from a makefile.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/quillfen/quillfen")
# The offscreen and xcb platform plug-ins are loaded at run time, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
