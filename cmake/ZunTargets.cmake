# Helpers that give every project target the same warnings and layout.

function(zun_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
    -Wcast-align -Wunused -Woverloaded-virtual -Wformat=2)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports false overlaps in inlined std::string code at -O2 and above.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(ZUN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# zun_add_test_suite(<area> [LIBS ...]): tests/<area>/*_test.cpp become one
# executable, zun_<area>_tests, whose cases CTest lists one by one.
function(zun_add_test_suite area)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(NOT sources AND NOT ARG_SOURCES)
    return()  # nothing written for this area yet
  endif()
  set(target zun_${area}_tests)
  add_executable(${target} ${sources} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE zun_framework GTest::gtest_main GTest::gmock ${ARG_LIBS})
  zun_warnings(${target})
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS ${area})
endfunction()
