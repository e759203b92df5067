# cmake -DINPUT=file -DOUTPUT=file.cpp -P embed.cmake: the register database as a C++ string, so
# that the library carries its document and needs no file at run time.
file(READ ${INPUT} content)
file(WRITE ${OUTPUT} "// Made from ${INPUT} by embed.cmake: do not edit.\n"
    "#include <cstddef>\n"
    "extern const char kRegisterDatabase[];\n"
    "extern const std::size_t kRegisterDatabaseSize;\n"
    "const char kRegisterDatabase[] = R\"quillfen_xml(${content})quillfen_xml\";\n"
    "const std::size_t kRegisterDatabaseSize = sizeof kRegisterDatabase - 1;\n")
