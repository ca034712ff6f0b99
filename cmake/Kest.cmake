# Common build settings and the helpers every module folder uses.
include(CTest)

set(KEST_ROOT ${PROJECT_SOURCE_DIR})

if(WIN32)
  enable_language(RC)
  add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00
                          WINVER=0x0A00 _WIN32_IE=0x0A00)
  # One self-contained executable: no libgcc, libstdc++ or winpthread DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(KEST_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KEST_ROOT}/tools/wine-run;${KEST_WINE_PREFIX})
else()
  if(KEST_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

# Warnings for our own code only (third-party targets do not use this).
add_library(kest_warnings INTERFACE)
target_compile_options(kest_warnings INTERFACE -Wall -Wextra)

# GoogleTest from the distribution's source folder, built with our compiler and flags.
if(BUILD_TESTING AND NOT KEST_FUZZ AND NOT TARGET gtest)
  set(KEST_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source folder")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${KEST_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# kest_library(name SOURCES ... [LIBS ...]): a static library of our own code; its folder's parent
# is on the include path so headers are included as "xml/XmlDocument.h".
function(kest_library name)
  cmake_parse_arguments(K "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${K_SOURCES})
  target_include_directories(${name} PUBLIC ${KEST_ROOT})
  target_link_libraries(${name} PUBLIC ${K_LIBS} PRIVATE kest_warnings)
endfunction()

# kest_test(name SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s]): a GoogleTest executable
# registered as one ctest test. In the win64 build it runs under Wine (and Xvfb) through the
# cross-compiling emulator. Tests find the source tree through KEST_SOURCE_DIR and their
# build folder through KEST_BINARY_DIR (both Unix paths; see tests/support).
function(kest_test name)
  cmake_parse_arguments(K "" "TIMEOUT" "SOURCES;LIBS;LABELS;FIXTURES" ${ARGN})
  add_executable(${name} ${K_SOURCES})
  target_link_libraries(${name} PRIVATE ${K_LIBS} kest_test_support GTest::gtest_main GTest::gmock
                                        kest_warnings)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT K_TIMEOUT)
    set(K_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${K_TIMEOUT}
    LABELS "${K_LABELS}"
    ENVIRONMENT "KEST_SOURCE_DIR=${KEST_ROOT};KEST_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(K_FIXTURES)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${K_FIXTURES}")
  endif()
endfunction()

# kest_server_fixture(name script dir): a ctest fixture pair, name_start and name_stop, that runs
# "script start dir" before the first test requiring fixture <name> and "script stop dir" after
# the last (the loopback test server of tests/server).
function(kest_server_fixture name script dir)
  add_test(NAME ${name}_start COMMAND ${script} start ${dir})
  set_tests_properties(${name}_start PROPERTIES FIXTURES_SETUP ${name} TIMEOUT 120)
  add_test(NAME ${name}_stop COMMAND ${script} stop ${dir})
  set_tests_properties(${name}_stop PROPERTIES FIXTURES_CLEANUP ${name} TIMEOUT 60)
endfunction()
