# PNG and SVG of the help picture with its background, and the JSON into a file;
# the diagrams over the crank angle as CSV, SVG and PNG.
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

# The double rocker's diagrams: a table of its swing, the sheet at its size;
# the start page shows no mechanism, so no table, and status 1.
set(csv ${OUT}/schwinge.csv)
set(dsvg ${OUT}/schwinge.svg)
set(dpng ${OUT}/schwinge.png)
file(REMOVE ${csv} ${dsvg} ${dpng})
execute_process(COMMAND ${RENDER} --keys "menu:mnu13 menu:mnu21 menu:mnu211 Space" --diagram-csv ${csv}
                        --diagram-svg ${dsvg} --diagram-png ${dpng} --diagram-size 400x700
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "diagrams: exit ${rc}: ${err}")
endif()
file(STRINGS ${csv} rows ENCODING UTF-8)
list(LENGTH rows count)
list(GET rows 0 header)
if(count LESS 100 OR count GREATER 362 OR NOT header MATCHES "^.?φ \\[°\\];ω Kurbel \\[1/s\\];Winkel Koppel")
  message(FATAL_ERROR "diagrams: ${count} rows, header ${header}")
endif()
file(READ ${dpng} header LIMIT 24 HEX)
if(NOT header MATCHES "^89504e47.*00000190000002bc$")
  message(FATAL_ERROR "diagrams: not a PNG of 400x700: ${header}")
endif()
file(READ ${dsvg} svg)
if(NOT svg MATCHES "<svg" OR NOT svg MATCHES "Übertragungswinkel")
  message(FATAL_ERROR "diagrams: the SVG lacks its plots")
endif()
file(REMOVE ${csv})
execute_process(COMMAND ${RENDER} --diagram-csv ${csv} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR EXISTS ${csv} OR NOT err MATCHES "Kein Getriebe dargestellt")
  message(FATAL_ERROR "diagrams of the start page: exit ${rc}, ${err}")
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
