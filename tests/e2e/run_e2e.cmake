# Runs PROGRAM offscreen with DRIVER preloaded (and FILE on its command line, when given), then
# reads the driver's REPORT:
# the run passes when the program exits with 0 and the report ends with DONE
# and holds no FAIL line.
foreach(var PROGRAM DRIVER REPORT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "run_e2e.cmake needs -D${var}=...")
    endif()
endforeach()

file(REMOVE "${REPORT}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env
        QT_QPA_PLATFORM=offscreen
        "LD_PRELOAD=${DRIVER}"
        "QUILLFEN_E2E_REPORT=${REPORT}"
        --unset=QUILLFEN_SCREENSHOTS
        "${PROGRAM}" ${FILE}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output
    TIMEOUT 60)

set(report "(no report written)")
if(EXISTS "${REPORT}")
    file(READ "${REPORT}" report)
endif()

set(problems "")
if(NOT status STREQUAL "0")
    list(APPEND problems "the program ended with status '${status}', not 0")
endif()
if(NOT report MATCHES "\nDONE [0-9]+ checks")
    list(APPEND problems "the report does not end with DONE: the walk stopped early")
endif()
if(report MATCHES "(^|\n)FAIL ")
    list(APPEND problems "some checks failed")
endif()

if(problems)
    list(JOIN problems "; " summary)
    # Plain messages keep the report's lines as they are.
    message("--- report ---\n${report}--- program output ---\n${output}")
    message(FATAL_ERROR "End-to-end run failed: ${summary}")
endif()
string(REGEX MATCH "DONE [0-9]+ checks" done "${report}")
message(STATUS "End-to-end run passed: ${done}")
