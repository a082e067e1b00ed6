# SPDX-License-Identifier: GPL-3.0-or-later
# Every target names its files: a file that is listed and missing stops the
# configure step, and a file that is not listed is not built. Headers are
# listed as well, so that AUTOMOC sees the Q_OBJECT classes that have no .cpp
# of their own.

# voxmere_subsystem(NAME SOURCES ... [DEPS ...]): a static library of the
# listed files, linking Qt6::Core only (plus the named voxmere libraries).
function(voxmere_subsystem name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC Qt6::Core ${ARG_DEPS})
endfunction()

# voxmere_unit_test(NAME SOURCES ... DEPS ...): one GoogleTest executable of
# the listed files, registered with CTest.
function(voxmere_unit_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} voxmere_fakes Qt6::Test GTest::gtest
                                        GTest::gmock GTest::gtest_main)
  voxmere_add_test(${name} unit)
endfunction()

# voxmere_add_test(TARGET LABEL): registers a GoogleTest executable with CTest
# under the build's test name suffix.
function(voxmere_add_test target label)
  set(test_name ${target}${VOXMERE_TEST_SUFFIX})
  add_test(NAME ${test_name} COMMAND ${target} --gtest_brief=1)
  set_tests_properties(${test_name} PROPERTIES LABELS ${label})
  if(VOXMERE_SANITIZE)
    set_tests_properties(${test_name} PROPERTIES ENVIRONMENT
                         "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endif()
endfunction()

# voxmere_platform_library(NAME SOURCES ... [PKGS ...] [LIBS ...]): a static
# library of the listed files implementing platform interfaces; it may use
# QtGui, QtWidgets and the system libraries named by their pkg-config modules.
function(voxmere_platform_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PKGS;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC voxmere_platform_api ${ARG_LIBS})
  if(ARG_PKGS)
    pkg_check_modules(${name}_pkgs REQUIRED IMPORTED_TARGET ${ARG_PKGS})
    target_link_libraries(${name} PUBLIC PkgConfig::${name}_pkgs)
  endif()
endfunction()

# voxmere_integration_test(NAME SOURCES ... SERVICES ... [DEPS ...]
# [TIMEOUT s]): one GoogleTest executable of the listed files, run by CTest
# inside tests/integration/with_services.sh with the named private services
# (x11, audio, speechd). Integration tests run one at a time: they share the
# machine's two cores with nothing else, so their timings mean something.
function(voxmere_integration_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;SERVICES;DEPS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} voxmere_integration_support GTest::gtest
                                        GTest::gmock GTest::gtest_main)
  set(test_name ${name}${VOXMERE_TEST_SUFFIX})
  add_test(NAME ${test_name}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/integration/with_services.sh ${ARG_SERVICES} --
                   $<TARGET_FILE:${name}> --gtest_brief=1)
  set_tests_properties(${test_name} PROPERTIES LABELS integration RUN_SERIAL TRUE
                                               TIMEOUT ${ARG_TIMEOUT})
  if(VOXMERE_TSAN)
    # Any report makes the test program exit with status 66 once its tests
    # have run (so that the services it started are stopped). The libraries
    # of the system are not built with ThreadSanitizer: their own memory
    # accesses (libpulse's shared ring buffers, Qt's copies) are not
    # checked, their locks still are; tests/tsan.supp names the third-party
    # frames left out beyond that, and why.
    set_tests_properties(
      ${test_name}
      PROPERTIES
        ENVIRONMENT
        "TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp:ignore_noninstrumented_modules=1:exitcode=66:second_deadlock_stack=1:history_size=4"
    )
  endif()
endfunction()
