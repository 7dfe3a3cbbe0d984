# Tests of Wine and the virtual phone (e2e.*: of Tastolink.exe on an X display too), started through
# tools/driver with scripts/test's WINEPREFIX and DISPLAY; one Wine desktop, so one test at a time.
# Debian's python3: one of pyenv or a venv earlier on PATH would lack pytest, Xlib and psutil.
find_program(SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(DRIVER ${PROJECT_SOURCE_DIR}/tools/driver/tastolink_driver)
set(DRIVER_ENVIRONMENT TASTOLINK_HOST_BUILD_DIR=${CMAKE_BINARY_DIR}
                       TASTOLINK_WINDOWS_BUILD_DIR=${TASTOLINK_WINDOWS_BUILD_DIR})

# The port that hears the phone, against a phone that vanishes halfway through its first answer.
add_test(NAME wine.answers_vanishing
  COMMAND ${SYSTEM_PYTHON3} ${DRIVER} with-phone --port COM12 --vanish --
          ${WINE} ${TASTOLINK_WINDOWS_BUILD_DIR}/tests/tastolink_windows_tests.exe
          --gtest_filter=Win32SerialPortWithPhone.*)
set_tests_properties(wine.answers_vanishing PROPERTIES
  RESOURCE_LOCK wine_desktop TIMEOUT 120 ENVIRONMENT "${DRIVER_ENVIRONMENT}")  # about 2 s

# One CTest test per journey file; pytest keeps each one's folders (phone logs, a screenshot
# of a failure) under e2e/<name> of the build tree. The longest takes about 20 s; a stalled
# phone's box alone is waited for up to 120 s.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/e2e)
foreach(name IN ITEMS answers disk_full held_key hostile_phone key_sequences keypad menu_loop phone_events phone_profiles
                      release selectors settings_restart stall typing vanished_phone watched_ports)
  add_test(NAME e2e.${name}
    COMMAND ${SYSTEM_PYTHON3} -m pytest -q -p no:cacheprovider --basetemp=${CMAKE_BINARY_DIR}/e2e/${name}
            ${CMAKE_CURRENT_LIST_DIR}/test_${name}.py)
  set_tests_properties(e2e.${name} PROPERTIES
    RESOURCE_LOCK wine_desktop TIMEOUT 240 ENVIRONMENT "${DRIVER_ENVIRONMENT}")
endforeach()
