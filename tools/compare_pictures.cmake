# SPDX-License-Identifier: GPL-3.0-or-later
# Redraws the pictures into a fresh folder and checks that they match the
# committed ones byte for byte, so nobody edits a picture by hand or changes
# the drawing code without refreshing app/pictures/.
#
# cmake -D DRAWPICTURES=<program> -D OUTDIR=<scratch folder>
#       -D REFDIR=<app/pictures> -D PICTURES=<name,name,...>
#       -P compare_pictures.cmake

foreach(required DRAWPICTURES OUTDIR REFDIR PICTURES)
    if(NOT DEFINED ${required} OR "${${required}}" STREQUAL "")
        message(FATAL_ERROR "compare_pictures: ${required} is not set")
    endif()
endforeach()

# Commas instead of semicolons so the list survives the trip through add_test.
string(REPLACE "," ";" expected "${PICTURES}")
list(SORT expected)

# A leftover file from an earlier run must not hide a picture that is no longer drawn.
file(REMOVE_RECURSE "${OUTDIR}")
execute_process(COMMAND "${DRAWPICTURES}" "${OUTDIR}" RESULT_VARIABLE drawResult)
if(NOT drawResult EQUAL 0)
    message(FATAL_ERROR "drawpictures failed (${drawResult})")
endif()

file(GLOB drawn RELATIVE "${OUTDIR}" "${OUTDIR}/*")
list(SORT drawn)
if(NOT drawn STREQUAL expected)
    message(FATAL_ERROR "drawpictures wrote [${drawn}] but the pictures are [${expected}]")
endif()

set(differing "")
foreach(name IN LISTS expected)
    if(NOT EXISTS "${REFDIR}/${name}")
        list(APPEND differing "${name} (not committed)")
        continue()
    endif()
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTDIR}/${name}" "${REFDIR}/${name}"
        RESULT_VARIABLE sameResult)
    if(NOT sameResult EQUAL 0)
        file(SIZE "${OUTDIR}/${name}" drawnSize)
        file(SIZE "${REFDIR}/${name}" committedSize)
        list(APPEND differing "${name} (drawn ${drawnSize} bytes, committed ${committedSize} bytes)")
    endif()
endforeach()

if(differing)
    list(JOIN differing "\n  " report)
    message(FATAL_ERROR "pictures differ from app/pictures/:\n  ${report}\n"
                        "run drawpictures app/pictures and commit the result")
endif()

list(LENGTH expected count)
message(STATUS "all ${count} pictures reproduced byte for byte")
