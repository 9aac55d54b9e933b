# PNG and SVG of the help picture with its background, and the JSON into a file.
set(png ${OUT}/help.png)
set(svg ${OUT}/help.svg)
set(json ${OUT}/help.json)
file(REMOVE ${png} ${svg} ${json})
execute_process(COMMAND ${RENDER} --pictures ${PICTURES} --keys "F1" --png ${png} --svg ${svg}
                        --json ${json}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit ${rc}: ${err}")
endif()
foreach(f ${png} ${svg} ${json})
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "${f} was not written")
  endif()
endforeach()
file(READ ${png} header LIMIT 4 HEX)
if(NOT header STREQUAL "89504e47")
  message(FATAL_ERROR "not a PNG: ${header}")
endif()
file(READ ${json} doc)
string(JSON help GET "${doc}" state qst)
if(NOT help EQUAL 1)
  message(FATAL_ERROR "help picture flag ${help}")
endif()
# Without --pictures, run from a folder of no pictures, the renderer in the
# build folder finds the shipped pictures as the window does: the same PNG.
set(empty ${OUT}/no-pictures-here)
file(REMOVE_RECURSE ${empty})
file(MAKE_DIRECTORY ${empty})
execute_process(COMMAND ${RENDER} --keys "F1" --png ${empty}/found.png
                WORKING_DIRECTORY ${empty} RESULT_VARIABLE rc ERROR_VARIABLE err)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${png} ${empty}/found.png
                RESULT_VARIABLE differ)
if(NOT rc EQUAL 0 OR NOT differ EQUAL 0)
  message(FATAL_ERROR "without --pictures the help picture is not found (exit ${rc}): ${err}")
endif()
