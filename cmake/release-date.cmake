# The date of a release is that of its entry in doc/changelog, whose last
# line ends with it: " -- name <address>  Tue, 08 Dec 2026 12:00:00 +0000".
# Sets SYMTEXT_RELEASE_EPOCH, that moment in seconds since 1970-01-01 UTC,
# and SYMTEXT_RELEASE_MONTH, its month and year ("December 2026"), from the
# newest entry. Read with include(), or on its own:
#   cmake -DCHANGELOG=doc/changelog -P cmake/release-date.cmake
if(NOT CHANGELOG)
  set(CHANGELOG ${PROJECT_SOURCE_DIR}/doc/changelog)
endif()
file(STRINGS ${CHANGELOG} signature REGEX "^ -- " LIMIT_COUNT 1)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(month_names January February March April May June July August September October November December)
if(NOT signature MATCHES
   "  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ([0-9][0-9]):([0-9][0-9]):([0-9][0-9]) ([-+])([0-9][0-9])([0-9][0-9])$")
  set(month_index -1)
else()
  list(FIND months ${CMAKE_MATCH_2} month_index)
endif()
if(month_index EQUAL -1)
  message(FATAL_ERROR "${CHANGELOG}: the newest entry must end with a date such as \"Tue, 08 Dec 2026 12:00:00 +0000\"")
endif()
list(GET month_names ${month_index} month_name)
math(EXPR month "${month_index} + 1")
set(year ${CMAKE_MATCH_3})
set(zone_sign ${CMAKE_MATCH_7})
# The two-digit fields keep their leading zero; read them as decimal.
foreach(field day:1 hour:4 minute:5 second:6 zone_hours:8 zone_minutes:9)
  string(REPLACE ":" ";" field ${field})
  list(GET field 0 name)
  list(GET field 1 group)
  math(EXPR ${name} "1${CMAKE_MATCH_${group}} - 100")
endforeach()
# Days since 1970-01-01 in the Gregorian calendar, counting years from
# 1 March so that a leap day falls at the end of its year.
math(EXPR march_year "${year} - (14 - ${month}) / 12")
math(EXPR day_of_year "(153 * ((${month} + 9) % 12) + 2) / 5 + ${day} - 1")
math(EXPR days "${march_year} * 365 + ${march_year} / 4 - ${march_year} / 100 + ${march_year} / 400
                + ${day_of_year} - 719468")
# Local time less the zone's offset from UTC.
math(EXPR SYMTEXT_RELEASE_EPOCH "${days} * 86400 + ${hour} * 3600 + ${minute} * 60 + ${second}
                                 ${zone_sign} (-${zone_hours} * 3600 - ${zone_minutes} * 60)")
set(SYMTEXT_RELEASE_MONTH "${month_name} ${year}")
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  message("${SYMTEXT_RELEASE_EPOCH} ${SYMTEXT_RELEASE_MONTH}")
endif()
