# Read by cpack before it installs and packs: the release time becomes SOURCE_DATE_EPOCH for
# the rest of the run, and with it every time in the archive. CPack takes it for each zip
# entry's times, and the strip of the install step writes it into the PE headers of eolfix.exe
# and Lumbra.hpi. It is SOURCE_DATE_EPOCH when that is set, else the time of the source's last
# commit, so two packs of one commit give the same bytes.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C "${CPACK_RELEASE_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE git_failed ERROR_QUIET)
    if(git_failed OR NOT commit_time MATCHES "^[0-9]+$")
        message(WARNING "no commit time (no git or no repository): the archive gets today's "
                        "times; set SOURCE_DATE_EPOCH to pack it reproducibly")
    else()
        set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
    endif()
endif()
# Zip entries hold local times: one zone for every machine that packs.
set(ENV{TZ} UTC0)
