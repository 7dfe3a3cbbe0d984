# A test that hangs (a crash box, a deadlock, a phone that never answers) must fail the run within
# minutes instead of holding it for good, and CTest sets no limit of its own. A directory that adds
# tests defers this check to its end: any entry without a TIMEOUT stops the configuration, named.
function(tastolink_check_time_limits)
  get_property(tests DIRECTORY PROPERTY TESTS)
  foreach(test IN LISTS tests)
    get_test_property(${test} TIMEOUT limit)
    if(NOT limit)
      message(FATAL_ERROR "the test ${test} has no TIMEOUT: give it a limit a few times its time on a loaded machine")
    endif()
  endforeach()
endfunction()
