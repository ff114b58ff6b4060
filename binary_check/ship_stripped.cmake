# ship_stripped(target): the built file is what ships. A copy with its symbols stays beside it
# as <file>.symbols, from which the binary check learns function names; in any build but Debug
# the shipped file is then stripped of symbols and debug sections (code and data unchanged).
function(ship_stripped target)
    set(file $<TARGET_FILE:${target}>)
    set(strip_step)
    if(STRIP_DELIVERABLES)
        set(strip_step COMMAND ${CMAKE_STRIP} --strip-all ${file})
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy ${file} ${file}.symbols
        ${strip_step}
        VERBATIM)
endfunction()
