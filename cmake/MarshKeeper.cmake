# Shared helpers for the project's targets.

set(MK_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

# A name in a link line that is not a target is a mistake here (every library
# the project uses is an imported or own target), so it stops the configure
# instead of turning into a -l flag that fails, or silently works, at link time.
set(CMAKE_LINK_LIBRARIES_ONLY_TARGETS ON)

# mk_subfolders([CORE folder...] [SHELL folder...])
# Adds the named sub-folders in the order given: the CORE ones always, the
# SHELL ones (windows, the real program, its assets and installation) unless
# only the core is built. A named folder without a CMakeLists.txt stops the
# configure: folders are listed, never discovered, so none goes missing unseen.
function(mk_subfolders)
  cmake_parse_arguments(F "" "" "CORE;SHELL" ${ARGN})
  set(folders ${F_CORE})
  if(NOT MK_CORE_ONLY)
    list(APPEND folders ${F_SHELL})
  endif()
  foreach(folder IN LISTS folders)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${folder}: no CMakeLists.txt")
    endif()
    add_subdirectory(${folder})
  endforeach()
endfunction()

# mk_library(NAME SOURCES...): a library of the project with its warnings.
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
               MK_CORPUS_DIR=${MK_CORPUS_DIR}
               QT_QPA_PLATFORM=offscreen
               ${MK_SANITIZER_ENV})
  if(T_LABELS)
    gtest_discover_tests(${name} PROPERTIES LABELS "${T_LABELS}" DISCOVERY_TIMEOUT 60)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# What every program started by a test is given in the sanitizer build: stop
# at the first error, report leaks except those the desktop's libraries make
# once and keep for good.
set(MK_SANITIZER_ENV)
if(MK_SANITIZE)
  set(MK_SANITIZER_ENV
      ASAN_OPTIONS=detect_leaks=1
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
      LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan_system_libraries.supp:print_suppressions=0)
endif()

include(GoogleTest)
