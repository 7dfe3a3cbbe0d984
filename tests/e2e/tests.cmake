# Tests that need Wine and the virtual phone (and, for e2e.*, Tastolink.exe on an X display).
# Included by tests/CMakeLists.txt when TASTOLINK_WINDOWS_BUILD_DIR is given; WINEPREFIX,
# DISPLAY and WINEDEBUG come from scripts/test. They share one Wine desktop, so none of
# them runs beside another.
find_program(PYTHON3 python3 REQUIRED)
set(E2E_DIR ${CMAKE_CURRENT_LIST_DIR})

add_test(NAME wine.serial_port_with_phone
  COMMAND ${E2E_DIR}/with-virtual-phone.sh --phone ${TASTOLINK_VIRTUAL_PHONE} --port COM12 --
          ${WINE} ${TASTOLINK_WINDOWS_BUILD_DIR}/tests/tastolink_windows_tests.exe
          --gtest_filter=Win32SerialPortWithPhone.*)
set_tests_properties(wine.serial_port_with_phone PROPERTIES RESOURCE_LOCK wine_desktop)

# The port that hears the phone, against the phone in each of its answer modes: the line the
# mode must make the port hear, the tests to run, then the phone's options.
function(add_answers_test name heard filter)
  set(phone_options)
  foreach(option IN LISTS ARGN)
    list(APPEND phone_options --phone-option ${option})
  endforeach()
  add_test(NAME wine.answers_${name}
    COMMAND ${CMAKE_COMMAND} -E env "TASTOLINK_TEST_HEARD=${heard}"
            ${E2E_DIR}/with-virtual-phone.sh --phone ${TASTOLINK_VIRTUAL_PHONE} --port COM12 ${phone_options} --
            ${WINE} ${TASTOLINK_WINDOWS_BUILD_DIR}/tests/tastolink_windows_tests.exe
            --gtest_filter=AnsweringPortWithPhone.${filter})
  set_tests_properties(wine.answers_${name} PROPERTIES RESOURCE_LOCK wine_desktop)
endfunction()
add_answers_test(ok_echoed_split "OK" "Hears*:*NotExist*" --echo --split)
add_answers_test(error "ERROR" "Hears*" --answer=error)
add_answers_test(cme_error "+CME ERROR: 3" "Hears*" --answer=cme:3)
add_answers_test(silent_with_ring "RING" "Hears*" --answer=silent --ring=0.3)
add_answers_test(vanishing "" "PhoneThatVanishes*" --vanish)

# window-probe.exe reads what the program shows (message box texts, selector texts, the
# focus); it is a Windows program, so the cross compiler of the Windows tree builds it.
find_program(MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
set(WINDOW_PROBE ${CMAKE_CURRENT_BINARY_DIR}/window-probe.exe)
if(MINGW_CXX)
  add_custom_command(OUTPUT ${WINDOW_PROBE}
    COMMAND ${MINGW_CXX} -std=c++20 -O2 -Wall -static -o ${WINDOW_PROBE} ${E2E_DIR}/window_probe.cpp -luser32
    DEPENDS ${E2E_DIR}/window_probe.cpp
    COMMENT "Building window-probe.exe")
  add_custom_target(window_probe ALL DEPENDS ${WINDOW_PROBE})
endif()

# One CTest test per script. A script that finds something it needs missing fails: the
# suite runs from scripts/test, which builds and installs everything first.
file(GLOB E2E_SCRIPTS CONFIGURE_DEPENDS ${E2E_DIR}/test_*.py)
foreach(script IN LISTS E2E_SCRIPTS)
  get_filename_component(name ${script} NAME_WE)
  string(REGEX REPLACE "^test_" "" name ${name})
  add_test(NAME e2e.${name}
    COMMAND ${CMAKE_COMMAND} -E env
            TASTOLINK_WINDOWS_BUILD_DIR=${TASTOLINK_WINDOWS_BUILD_DIR}
            TASTOLINK_VIRTUAL_PHONE=${TASTOLINK_VIRTUAL_PHONE}
            TASTOLINK_WINDOW_PROBE=${WINDOW_PROBE}
            TASTOLINK_E2E_ARTIFACTS=${CMAKE_BINARY_DIR}/e2e-artifacts
            ${PYTHON3} ${script})
  set_tests_properties(e2e.${name} PROPERTIES RESOURCE_LOCK wine_desktop TIMEOUT 300)
endforeach()

# The long hold keeps a key down for ten minutes by default (TASTOLINK_LONG_HOLD_MINUTES).
if(TEST e2e.fault_long_hold)
  set_tests_properties(e2e.fault_long_hold PROPERTIES TIMEOUT 1500)
endif()
