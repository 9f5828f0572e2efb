# Project-wide compile settings, applied per target so third-party code is not affected.
function(tramox_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${TRAMOX_WARNINGS_AS_ERRORS}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                                             $<$<BOOL:${TRAMOX_WARNINGS_AS_ERRORS}>:-Werror>)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  endif()
endfunction()

# A static library of the portable core.
function(tramox_library target)
  add_library(${target} STATIC ${ARGN})
  tramox_target_defaults(${target})
endfunction()

# A GoogleTest program registered with CTest; test names come from the test cases.
function(tramox_test target)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(${target} ${ARGN})
  tramox_target_defaults(${target})
  target_link_libraries(${target} PRIVATE GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
