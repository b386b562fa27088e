# The release of this version: its entry at the top of the package's change log gives the
# date that the desktop metadata and the manual pages carry. A version without an entry there
# stops the configuration, so a release cannot go out without one.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog _verbanta_changelog)
list(GET _verbanta_changelog 0 _verbanta_top)
if(NOT _verbanta_top MATCHES "^verbanta \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog does not begin with an entry for ${PROJECT_VERSION}")
endif()
foreach(_line IN LISTS _verbanta_changelog)
    # The trailer line: " -- Name <address>  Tue, 08 Dec 2026 12:00:00 +0000"
    if(_line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) ")
        set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
        list(FIND _months ${CMAKE_MATCH_2} _month)
        math(EXPR _month "${_month} + 1" OUTPUT_FORMAT DECIMAL)
        if(_month LESS 10)
            set(_month 0${_month})
        endif()
        set(VERBANTA_RELEASE_DATE ${CMAKE_MATCH_3}-${_month}-${CMAKE_MATCH_1})
        break()
    endif()
endforeach()
if(NOT VERBANTA_RELEASE_DATE)
    message(FATAL_ERROR "packaging/changelog: no date in the entry for ${PROJECT_VERSION}")
endif()
