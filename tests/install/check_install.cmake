file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    bin/quillfen
    bin/quillfen-iff
    bin/quillfen-asm
    share/applications/quillfen.desktop
    share/icons/hicolor/scalable/apps/quillfen.svg
    share/man/man1/quillfen.1.gz
    share/man/man1/quillfen-iff.1.gz
    share/man/man1/quillfen-asm.1.gz)
foreach(size 16 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/quillfen.png)
endforeach()
set(missing "")
foreach(path IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${path}")
        list(APPEND missing ${path})
    endif()
endforeach()
if(missing)
    message(FATAL_ERROR "not installed: ${missing}")
endif()
foreach(program quillfen quillfen-iff quillfen-asm)
    execute_process(COMMAND test -x "${PREFIX}/bin/${program}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "bin/${program} is not executable")
    endif()
endforeach()

# The launcher starts the installed program by name and finds the installed icon.
file(READ "${PREFIX}/share/applications/quillfen.desktop" entry)
foreach(line "[Desktop Entry]" "Type=Application" "Exec=quillfen" "Icon=quillfen")
    string(FIND "${entry}" "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "quillfen.desktop lacks '${line}'")
    endif()
endforeach()

# The installed inspector runs from its new place.
execute_process(COMMAND "${PREFIX}/bin/quillfen-iff" --help RESULT_VARIABLE result
                OUTPUT_VARIABLE help ERROR_VARIABLE help)
if(NOT result EQUAL 0 OR NOT help MATCHES "print FILE")
    message(FATAL_ERROR "installed quillfen-iff --help: ${result}\n${help}")
endif()
execute_process(COMMAND "${PREFIX}/bin/quillfen-asm" display RESULT_VARIABLE result
                OUTPUT_VARIABLE code ERROR_VARIABLE code)
if(NOT result EQUAL 0 OR NOT code MATCHES "DIWSTRT,\\$2c81")
    message(FATAL_ERROR "installed quillfen-asm display: ${result}\n${code}")
endif()
message(STATUS "installed into ${PREFIX}: ${expected}")
