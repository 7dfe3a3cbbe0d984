# Tests that need Wine and the virtual phone (and, for e2e.*, Tastolink.exe on an X display),
# started through tools/driver. Included by tests/CMakeLists.txt when TASTOLINK_WINDOWS_BUILD_DIR
# is given; WINEPREFIX and DISPLAY come from scripts/test. They share one Wine desktop, so none
# of them runs beside another.
#
# Debian's python3: the scripts install pytest, python3-xlib and python3-psutil for it, and a
# python3 of pyenv or a venv earlier on PATH would lack them.
find_program(SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(E2E_DIR ${CMAKE_CURRENT_LIST_DIR})
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
add_answers_test(ok_echoed_split "OK" "Hears*:*NotExist*" --echo --split)
add_answers_test(error "ERROR" "Hears*" --answer=error)
add_answers_test(cme_error "+CME ERROR: 3" "Hears*" --answer=cme:3)
add_answers_test(silent_with_ring "RING" "Hears*" --answer=silent --ring=0.3)
add_answers_test(vanishing "" "PhoneThatVanishes*" --vanish)

# window-probe.exe reads what the program shows (box texts, selector texts, the focus); it is a
# Windows program, so the cross compiler of the Windows tree builds it.
find_program(MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
set(WINDOW_PROBE ${CMAKE_CURRENT_BINARY_DIR}/window-probe.exe)
if(MINGW_CXX)
  add_custom_command(OUTPUT ${WINDOW_PROBE}
    COMMAND ${MINGW_CXX} -std=c++20 -O2 -Wall -static -o ${WINDOW_PROBE} ${E2E_DIR}/window_probe.cpp -luser32
    DEPENDS ${E2E_DIR}/window_probe.cpp
    COMMENT "Building window-probe.exe")
  add_custom_target(window_probe ALL DEPENDS ${WINDOW_PROBE})
endif()

# One CTest test per journey file; pytest keeps each one's folders (phone logs, a screenshot
# of a failure) under e2e/<name> of the build tree.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/e2e)
file(GLOB E2E_SCRIPTS CONFIGURE_DEPENDS ${E2E_DIR}/test_*.py)
foreach(script IN LISTS E2E_SCRIPTS)
  get_filename_component(name ${script} NAME_WE)
  string(REGEX REPLACE "^test_" "" name ${name})
  add_test(NAME e2e.${name}
    COMMAND ${SYSTEM_PYTHON3} -m pytest -q -p no:cacheprovider --basetemp=${CMAKE_BINARY_DIR}/e2e/${name} ${script})
  set_tests_properties(e2e.${name} PROPERTIES
    RESOURCE_LOCK wine_desktop TIMEOUT 240 ENVIRONMENT "${DRIVER_ENVIRONMENT}")
endforeach()
