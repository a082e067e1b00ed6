# voxmere_subsystem(NAME [DEPS ...]): a static library of every .cpp in the
# calling folder, linking Qt6::Core only (plus the named voxmere libraries).
function(voxmere_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC Qt6::Core ${ARG_DEPS})
  else()
    # Headers only so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE Qt6::Core ${ARG_DEPS})
  endif()
endfunction()

# voxmere_unit_test(NAME DEPS ...): one GoogleTest executable of every .cpp in
# the calling folder, registered with CTest.
function(voxmere_unit_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
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

# voxmere_platform_library(NAME [PKGS ...] [LIBS ...]): a static library of
# every .cpp in the calling folder implementing platform interfaces; it may use
# QtGui, QtWidgets and the system libraries named by their pkg-config modules.
function(voxmere_platform_library name)
  cmake_parse_arguments(ARG "" "" "PKGS;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(deps voxmere_platform_api ${ARG_LIBS})
  if(ARG_PKGS)
    pkg_check_modules(${name}_pkgs REQUIRED IMPORTED_TARGET ${ARG_PKGS})
    list(APPEND deps PkgConfig::${name}_pkgs)
  endif()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${deps})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${deps})
  endif()
endfunction()

# voxmere_integration_test(NAME SERVICES ... [DEPS ...] [TIMEOUT s]): one
# GoogleTest executable of every .cpp in the calling folder, run by CTest
# inside tests/integration/with_services.sh with the named private services
# (x11, audio, speechd). Integration tests run one at a time: they share the
# machine's two cores with nothing else, so their timings mean something.
function(voxmere_integration_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SERVICES;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} voxmere_integration_support GTest::gtest
                                        GTest::gmock GTest::gtest_main)
  set(test_name ${name}${VOXMERE_TEST_SUFFIX})
  add_test(NAME ${test_name}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/integration/with_services.sh ${ARG_SERVICES} --
                   $<TARGET_FILE:${name}> --gtest_brief=1)
  set_tests_properties(${test_name} PROPERTIES LABELS integration RUN_SERIAL TRUE
                                               TIMEOUT ${ARG_TIMEOUT})
endfunction()
