# An exercise without a display: the JSON names kind, seed, task and tolerance
# and holds nothing of the solution (no registers: the drive step alone places
# P) until --solution; an answer is judged in mm.
execute_process(COMMAND ${RENDER} --exercise momentanpol --seed 17 --json -
                OUTPUT_VARIABLE task ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit ${rc}: ${err}")
endif()
string(JSON kind GET "${task}" exercise kind)
string(JSON seed GET "${task}" exercise seed)
string(JSON text GET "${task}" exercise task)
string(JSON tolerance GET "${task}" exercise tolerance)
string(JSON points ERROR_VARIABLE noPoints GET "${task}" points)
string(JSON solution ERROR_VARIABLE noSolution GET "${task}" exercise solution)
if(NOT kind STREQUAL "momentanpol" OR NOT seed EQUAL 17 OR NOT text MATCHES "Momentanpol"
   OR tolerance LESS 6 OR NOT noPoints OR NOT noSolution)
  message(FATAL_ERROR "task document: ${kind} ${seed} ${text} ${tolerance} points: ${noPoints} solution: ${noSolution}")
endif()

execute_process(COMMAND ${RENDER} --exercise momentanpol --seed 17 --solution --json -
                OUTPUT_VARIABLE shown RESULT_VARIABLE rc)
string(JSON x GET "${shown}" exercise solution 0)
string(JSON y GET "${shown}" exercise solution 1)
string(JSON px GET "${shown}" points P 0)
# CMake has no arithmetic on fractions: whole parts.
string(REGEX REPLACE "\\..*" "" x "${x}")
string(REGEX REPLACE "\\..*" "" y "${y}")
string(REGEX REPLACE "\\..*" "" px "${px}")
string(REGEX REPLACE "\\..*" "" tolerance "${tolerance}")
if(NOT rc EQUAL 0 OR NOT x EQUAL px)
  message(FATAL_ERROR "solution (${x}, ${y}) against the construction's P ${px}")
endif()

# An answer more than the tolerance away (tolerance + 1 − the fraction cut off
# above), and one within 1.5 mm of the solution.
math(EXPR wrongX "${x} + ${tolerance} + 1")
foreach(answer "${wrongX},${y};falsch" "${x},${y};richtig")
  list(GET answer 0 at)
  list(GET answer 1 expected)
  execute_process(COMMAND ${RENDER} --exercise momentanpol --seed 17 --answer ${at} --json -
                  OUTPUT_VARIABLE answered RESULT_VARIABLE rc)
  string(JSON verdict GET "${answered}" exercise verdict)
  string(JSON d GET "${answered}" exercise distance)
  string(JSON solution ERROR_VARIABLE noSolution GET "${answered}" exercise solution)
  if(NOT rc EQUAL 0 OR NOT verdict STREQUAL expected OR NOT noSolution)
    message(FATAL_ERROR "answer ${at}: ${verdict} at ${d} mm, expected ${expected}")
  endif()
endforeach()
