# Registers every script of the calling folder as a real-display test named
# <prefix>_<script>: the real program from a copy of the runnable tree in a
# private Xvfb (tests/lib/display.sh), driven with xdotool, checked by
# screenshots, window geometry and the settings file. Serial: each starts its
# own X server and they share the cores with everything else.
include_guard(GLOBAL)

function(mk_display_tests prefix)
  if(NOT TARGET marsh-keeper)
    return()
  endif()
  file(GLOB scripts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.sh)
  foreach(script IN LISTS scripts)
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME ${prefix}_${name} COMMAND bash ${script} ${CMAKE_BINARY_DIR})
    set_tests_properties(${prefix}_${name} PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 180)
  endforeach()
endfunction()
