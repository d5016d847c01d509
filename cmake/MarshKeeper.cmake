# Shared helpers for the project's targets.

set(MK_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

# mk_library(NAME SOURCES... [QT]) : a library of the core with the project's warnings.
function(mk_library name)
  add_library(${name} ${ARGN})
  target_compile_options(${name} PRIVATE ${MK_WARNINGS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# mk_test(NAME SOURCES... LIBS libs... [LABELS labels...])
# A GoogleTest executable registered with CTest. Tests labelled "sanitized"
# are run again in the ASan/UBSan build.
function(mk_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_compile_options(${name} PRIVATE ${MK_WARNINGS} -Wno-conversion)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # The environment is given through a launcher, because a list-valued
  # ENVIRONMENT property does not survive test discovery intact.
  set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR /usr/bin/env
               MK_SOURCE_DIR=${PROJECT_SOURCE_DIR}
               MK_CORPUS_DIR=${PROJECT_SOURCE_DIR}/../shared/corpus
               QT_QPA_PLATFORM=offscreen)
  if(T_LABELS)
    gtest_discover_tests(${name} PROPERTIES LABELS "${T_LABELS}" DISCOVERY_TIMEOUT 60)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

include(GoogleTest)
