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
# One string (never a list: CMake would join its parts with ';'): the lines of the long
# description under the summary, each under 80 characters; CPack indents them and turns the
# empty line into the paragraph break " .".
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillfen works out the numbers that the Amiga's custom chips expect and\n"
    "writes them as 68000 assembler text. Its window holds seven tools: Display\n"
    "(bitplane memory, modulos and the display set-up registers), Colour (an AGA\n"
    "and OCS/ECS palette editor writing colour, palette and rainbow code), Registers\n"
    "(custom-chip register bits and the blitter's BLTCON words), Copper (copper\n"
    "lists as dc.w data), Workbench (copper lists read back from data, memory dumps\n"
    "or binary), Gradient (copper gradients and palette fades) and Convert (PNG and\n"
    "IFF ILBM pictures turned into bitplanes, masks, palettes and sprites).\n"
    "\n"
    "Two command-line programs do the same from a makefile: quillfen-iff prints,\n"
    "checks and converts IFF files and pictures, and quillfen-asm writes display\n"
    "set-up, copper lists, register words, blitter set-up, gradients and fades.")
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
