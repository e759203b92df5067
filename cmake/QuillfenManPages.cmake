# quillfen_install_man_page(PAGE)
#   Compresses the man page PAGE (a file of the current source folder, "name.1") with gzip -9n
#   (no name or time stamp, so the package is the same from one build to the next) and installs
#   PAGE.gz into share/man/manN, N taken from the page's suffix.
include_guard(GLOBAL)

find_program(QUILLFEN_GZIP gzip REQUIRED)

function(quillfen_install_man_page page)
    string(REGEX MATCH "[0-9]$" section ${page})
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${page})
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND ${QUILLFEN_GZIP} -9nc ${source} > ${compressed}
        DEPENDS ${source}
        COMMENT "Compressing the man page ${page}")
    string(MAKE_C_IDENTIFIER "man_${page}" target)
    add_custom_target(${target} ALL DEPENDS ${compressed})
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
