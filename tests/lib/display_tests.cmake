# mk_display_tests(PREFIX SCRIPT... [EVERY_WM SCRIPT...]): registers each named
# script of the calling folder as real-display tests: the real program from a
# copy of the runnable tree in a private Xvfb (tests/lib/display.sh), driven
# with xdotool, checked by screenshots, window geometry and the settings file.
# Every script runs twice, on a bare X server (<PREFIX>_<SCRIPT>) and under
# openbox (<PREFIX>_<SCRIPT>_openbox); the EVERY_WM ones (stacking, focus, full
# screen, dragging) also under xfwm4 (<PREFIX>_<SCRIPT>_xfwm4). All run again
# in the ASan/UBSan build of the whole program. Serial: each
# starts its own X server and they share the cores with everything else. A
# script in the folder that is not named stops the configure, so none is
# left out unseen.
include_guard(GLOBAL)

function(mk_display_tests prefix)
  cmake_parse_arguments(D "" "" "EVERY_WM" ${ARGN})
  set(scripts ${D_UNPARSED_ARGUMENTS} ${D_EVERY_WM})
  file(GLOB present RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.sh)
  foreach(file IN LISTS present)
    get_filename_component(name ${file} NAME_WE)
    if(NOT name IN_LIST scripts)
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${file} is not listed in mk_display_tests")
    endif()
  endforeach()
  foreach(name IN LISTS scripts)
    set(script ${CMAKE_CURRENT_SOURCE_DIR}/${name}.sh)
    if(NOT EXISTS ${script})
      message(FATAL_ERROR "${script}: no such test script")
    endif()
    set(wms bare openbox)
    if(name IN_LIST D_EVERY_WM)
      list(APPEND wms xfwm4)
    endif()
    foreach(wm IN LISTS wms)
      if(wm STREQUAL "bare")
        set(test ${prefix}_${name})
        set(wm_env MK_WM=)
      else()
        set(test ${prefix}_${name}_${wm})
        set(wm_env MK_WM=${wm})
      endif()
      add_test(NAME ${test} COMMAND /usr/bin/env ${wm_env} ${MK_SANITIZER_ENV} bash ${script} ${CMAKE_BINARY_DIR})
      set_tests_properties(${test} PROPERTIES LABELS "e2e;sanitized" RUN_SERIAL TRUE TIMEOUT 180)
    endforeach()
  endforeach()
endfunction()
