# mk_display_tests(PREFIX SCRIPT...): registers each named script of the
# calling folder as a real-display test named <PREFIX>_<SCRIPT>: the real
# program from a copy of the runnable tree in a private Xvfb
# (tests/lib/display.sh), driven with xdotool, checked by screenshots, window
# geometry and the settings file. Serial: each starts its own X server and
# they share the cores with everything else. A script in the folder that is
# not named stops the configure, so none is left out unseen.
include_guard(GLOBAL)

function(mk_display_tests prefix)
  set(scripts ${ARGN})
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
    add_test(NAME ${prefix}_${name} COMMAND bash ${script} ${CMAKE_BINARY_DIR})
    set_tests_properties(${prefix}_${name} PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 180)
  endforeach()
endfunction()
