# The start picture is the group's title page, where the crank does not move.
execute_process(COMMAND ${RENDER} --keys "Space Space" --json -
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
string(JSON topic GET "${out}" state mn2)
if(NOT rc EQUAL 0 OR NOT topic EQUAL 0)
  message(FATAL_ERROR "exit ${rc}, topic ${topic}: ${err}")
endif()
# Text pictures off, Down to topic 1 (the mechanism), two steps of the crank of
# type 1: the JSON holds the state, the registers and the picture.
execute_process(COMMAND ${RENDER} --keys "F3 Down Space Space" --json -
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit ${rc}: ${err}")
endif()
string(JSON edition GET "${out}" edition)
string(JSON drive GET "${out}" state wxx)
string(JSON request GET "${out}" state qgw)
string(JSON loopCase GET "${out}" loopCase)
string(JSON crank GET "${out}" len a)
string(JSON pivotX GET "${out}" points X 0)
string(JSON primitives LENGTH "${out}" picture)
string(JSON errors LENGTH "${out}" errors)
if(NOT edition STREQUAL "Planimove" OR NOT loopCase EQUAL 0 OR NOT crank EQUAL 80
   OR NOT pivotX EQUAL 300 OR NOT request EQUAL 1 OR primitives LESS 20)
  message(FATAL_ERROR "unexpected document: ${edition} ${loopCase} ${crank} ${pivotX} ${request} ${primitives}")
endif()
# Two steps of -4 degrees.
if(NOT drive MATCHES "^-0\\.1396")
  message(FATAL_ERROR "drive angle ${drive}, expected -8 degrees")
endif()
# Registers that are 0 are left out; a key is the register's character.
string(JSON missing ERROR_VARIABLE notThere GET "${out}" len q)
if(NOT notThere)
  message(FATAL_ERROR "len q is 0 for type 1 and must not be listed")
endif()
