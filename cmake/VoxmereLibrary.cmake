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
