# The one version of the program, for the executable's version info and the release zip:
# the last git tag without a leading v, else the VERSION file; -DTASTOLINK_VERSION=...
# overrides both. Sets TASTOLINK_VERSION (text) and TASTOLINK_VERSION_NUMBERS (a,b,c,d).
if(NOT TASTOLINK_VERSION)
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --abbrev=0
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE TASTOLINK_VERSION
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    string(REGEX REPLACE "^v" "" TASTOLINK_VERSION "${TASTOLINK_VERSION}")
  endif()
endif()
if(NOT TASTOLINK_VERSION)
  file(STRINGS ${CMAKE_SOURCE_DIR}/VERSION TASTOLINK_VERSION LIMIT_COUNT 1)
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/VERSION)
if(NOT TASTOLINK_VERSION MATCHES "^([0-9]+)(\\.([0-9]+))?(\\.([0-9]+))?(\\.([0-9]+))?")
  message(FATAL_ERROR "version \"${TASTOLINK_VERSION}\" does not start with a number such as 1.2.3")
endif()
set(TASTOLINK_VERSION_NUMBERS ${CMAKE_MATCH_1})
foreach(part 3 5 7)
  if("${CMAKE_MATCH_${part}}" STREQUAL "")
    string(APPEND TASTOLINK_VERSION_NUMBERS ",0")
  else()
    string(APPEND TASTOLINK_VERSION_NUMBERS ",${CMAKE_MATCH_${part}}")
  endif()
endforeach()
# scripts/package names the zip after it.
file(WRITE ${CMAKE_BINARY_DIR}/version.txt "${TASTOLINK_VERSION}\n")
