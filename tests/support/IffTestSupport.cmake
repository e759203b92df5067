# quillfen_iff_test_support: header-only helpers shared by the tests of the iff and ilbm libraries
# and by the seed programs of the fuzz targets: IFF bytes built by hand (iff_bytes.h, which needs
# no library) and the library's messages and trees caught in memory (iff_capture.h).
include_guard(GLOBAL)
add_library(quillfen_iff_test_support INTERFACE)
target_include_directories(quillfen_iff_test_support INTERFACE ${CMAKE_CURRENT_LIST_DIR})
