# Tests of Wine and the virtual phone (e2e.*: of Tastolink.exe on an X display too), started through
# tools/driver with scripts/test's WINEPREFIX and DISPLAY; one Wine desktop, so one test at a time.
# Debian's python3: one of pyenv or a venv earlier on PATH would lack pytest, Xlib and psutil.
find_program(SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(DRIVER ${PROJECT_SOURCE_DIR}/tools/driver/tastolink_driver)
set(DRIVER_ENVIRONMENT TASTOLINK_HOST_BUILD_DIR=${CMAKE_BINARY_DIR}
                       TASTOLINK_WINDOWS_BUILD_DIR=${TASTOLINK_WINDOWS_BUILD_DIR})

# The port that hears the phone, against the phone in each of its answer modes: the line the
# mode must make the port hear, the tests to run, then the phone's options.
function(add_answers_test name heard filter)
  add_test(NAME wine.answers_${name}
    COMMAND ${SYSTEM_PYTHON3} ${DRIVER} with-phone --port COM12 ${ARGN} --
            ${WINE} ${TASTOLINK_WINDOWS_BUILD_DIR}/tests/tastolink_windows_tests.exe
            --gtest_filter=AnsweringPortWithPhone.${filter})
  set_tests_properties(wine.answers_${name} PROPERTIES
    RESOURCE_LOCK wine_desktop ENVIRONMENT "${DRIVER_ENVIRONMENT};TASTOLINK_TEST_HEARD=${heard}")
endfunction()
add_answers_test(ok_echoed_split "OK" "Hears*" --echo --split)
add_answers_test(error "ERROR" "Hears*" --answer=error)
add_answers_test(cme_error "+CME ERROR: 3" "Hears*" --answer=cme:3)
add_answers_test(silent_with_ring "RING" "Hears*" --answer=silent --ring=0.3)
add_answers_test(vanishing "" "PhoneThatVanishes*" --vanish)

# window-probe.exe reads what the program shows; a Windows program, built by the cross compiler.
find_program(MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++ REQUIRED)
add_custom_command(OUTPUT window-probe.exe DEPENDS ${CMAKE_CURRENT_LIST_DIR}/window_probe.cpp
  COMMAND ${MINGW_CXX} -std=c++20 -O2 -Wall -static -o window-probe.exe ${CMAKE_CURRENT_LIST_DIR}/window_probe.cpp -luser32)
add_custom_target(window_probe ALL DEPENDS window-probe.exe)

# One CTest test per journey file; pytest keeps each one's folders (phone logs, a screenshot
# of a failure) under e2e/<name> of the build tree.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/e2e)
foreach(name IN ITEMS answers completion disk_full held_key hostile_phone keypad menu_loop release settings_restart
                      stall vanished_phone)
  add_test(NAME e2e.${name}
    COMMAND ${SYSTEM_PYTHON3} -m pytest -q -p no:cacheprovider --basetemp=${CMAKE_BINARY_DIR}/e2e/${name}
            ${CMAKE_CURRENT_LIST_DIR}/test_${name}.py)
  set_tests_properties(e2e.${name} PROPERTIES
    RESOURCE_LOCK wine_desktop TIMEOUT 240 ENVIRONMENT "${DRIVER_ENVIRONMENT}")
endforeach()
