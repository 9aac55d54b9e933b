# A demonstration that only a key could stop ends at the frame limit, as if the
# key had been pressed, and says so.
execute_process(COMMAND ${RENDER} --keys "F2 Space" --max-frames 200 --json -
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit ${rc}: ${err}")
endif()
if(NOT err MATCHES "frames reached")
  message(FATAL_ERROR "no notice on stderr: ${err}")
endif()
string(JSON demo GET "${out}" state qxy)
string(JSON group GET "${out}" state mn1)
if(NOT demo EQUAL 0 OR NOT group EQUAL 1)
  message(FATAL_ERROR "demonstration not stopped: qxy ${demo}, mn1 ${group}")
endif()
# Rautenwerk's sequence has no key of its own: the limit ends it as Esc does,
# and the last frame is still written.
execute_process(COMMAND ${RENDER} --edition rautenwerk --keys "5" --max-frames 300 --json -
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT err MATCHES "frames reached")
  message(FATAL_ERROR "exit ${rc}: ${err}")
endif()
string(JSON primitives LENGTH "${out}" picture)
if(primitives LESS 10)
  message(FATAL_ERROR "the last frame was lost: ${primitives} primitives")
endif()
