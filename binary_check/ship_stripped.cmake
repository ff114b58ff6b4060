# ship_stripped(target): the built file is what ships. A copy with its symbols stays beside it
# as <file>.symbols, from which the binary check learns function names; in any build but Debug
# the shipped file is then stripped of symbols and debug sections (code and data unchanged).
# Neither the link nor the strip writes the clock's time into the file (the PE header's and the
# export table's time stamps are 0), so one commit always builds the same bytes; the release
# archive stamps its own time into the header when it packs (packaging/release_time.cmake).
function(ship_stripped target)
    set(file $<TARGET_FILE:${target}>)
    target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
    set(strip_step)
    if(STRIP_DELIVERABLES)
        set(strip_step COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
                               ${CMAKE_STRIP} --strip-all ${file})
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy ${file} ${file}.symbols
        ${strip_step}
        VERBATIM)
endfunction()
