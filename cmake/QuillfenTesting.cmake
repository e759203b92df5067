# Helpers shared by the test, benchmark and fuzz folders.
#
# quillfen_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [QT] [LABELS l1 l2])
#   Builds a GoogleTest executable and registers its cases with CTest.
#   QT: links the shared main that creates a QApplication (offscreen unless a
#   platform is already chosen) and Qt6::Test for QTest's event simulation.
include_guard(GLOBAL)

function(quillfen_add_gtest name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS;LABELS" ${ARGN})
    find_package(GTest REQUIRED)
    include(GoogleTest)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
    if(ARG_QT)
        find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
        target_link_libraries(${name} PRIVATE quillfen_qt_test_main Qt6::Test)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    set_target_properties(${name} PROPERTIES UNITY_BUILD ${QUILLFEN_UNITY} UNITY_BUILD_BATCH_SIZE 0)
    set(labels ${ARG_LABELS})
    if(NOT labels)
        set(labels unit)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS "${labels}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
