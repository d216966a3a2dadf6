# qor_add_gtests(target [gtest_discover_tests options...]): every test of a GoogleTest program
# as a ctest test of its own. In the Windows build, where each start of a program under Wine
# costs about a second, the program is one ctest test instead, and its own summary counts.
include(GoogleTest)
function(qor_add_gtests target)
  if(CMAKE_CROSSCOMPILING AND WIN32)
    add_test(NAME ${target} COMMAND ${target})
  else()
    gtest_discover_tests(${target} ${ARGN})
  endif()
endfunction()
