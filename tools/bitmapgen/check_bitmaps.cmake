# Runs the bitmap generator into a scratch folder and checks that the
# bitmap files in the source tree are byte for byte what it makes, and that
# the tree holds no others.
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${GENERATOR} ${SCRATCH} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the bitmap generator failed")
endif()
file(GLOB made RELATIVE ${SCRATCH} ${SCRATCH}/*.bmp)
file(GLOB kept RELATIVE ${EXPECTED} ${EXPECTED}/*.bmp)
list(SORT made)
list(SORT kept)
if(NOT made STREQUAL kept)
    message(FATAL_ERROR "resources/bitmaps holds other files than the generator makes:\n"
        "  made: ${made}\n  kept: ${kept}")
endif()
set(stale "")
foreach(name IN LISTS made)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/${name} ${EXPECTED}/${name}
        RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        list(APPEND stale ${name})
    endif()
endforeach()
if(stale)
    message(FATAL_ERROR "out of date (run the target tb58_regenerate_bitmaps): ${stale}")
endif()
list(LENGTH made count)
message(STATUS "${count} bitmap files match the generator")
