# --gif: the frames of a full-revolution run as a looping GIF; events without a
# run write nothing and end with status 1.
set(gif ${OUT}/run.gif)
set(none ${OUT}/none.gif)
file(REMOVE ${gif} ${none})
execute_process(COMMAND ${RENDER} --keys "menu:mnu22 menu:mnu224 1" --gif ${gif} --size 300x200
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${gif})
  message(FATAL_ERROR "exit ${rc}, no animation: ${err}")
endif()
file(READ ${gif} header LIMIT 6 HEX)
if(NOT header STREQUAL "474946383961")
  message(FATAL_ERROR "not a GIF89a: ${header}")
endif()
file(STRINGS ${gif} loop REGEX "NETSCAPE2.0")
if(NOT loop)
  message(FATAL_ERROR "the animation does not loop")
endif()
# One revolution of "Polstrahlen" as a course page takes it: 800 pixels wide,
# the explanatory page shown, within 600 kB.
set(slide ${OUT}/polstrahlen.gif)
execute_process(COMMAND ${RENDER} --pictures ${PICTURES} --keys "menu:mnu22 menu:mnu224 1"
                        --size 800x541 --gif ${slide}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
file(SIZE ${slide} bytes)
if(NOT rc EQUAL 0 OR bytes GREATER 600000)
  message(FATAL_ERROR "Polstrahlen at 800 pixels: exit ${rc}, ${bytes} bytes (at most 600000): ${err}")
endif()
# A double rocker's crank does not turn round: no run, no file.
execute_process(COMMAND ${RENDER} --keys "menu:mnu13 1" --gif ${none}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR EXISTS ${none} OR NOT err MATCHES "no run frames")
  message(FATAL_ERROR "a run that cannot turn: exit ${rc}, ${err}")
endif()
execute_process(COMMAND ${RENDER} --gif RESULT_VARIABLE rc ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "--gif without a file: exit ${rc}")
endif()
