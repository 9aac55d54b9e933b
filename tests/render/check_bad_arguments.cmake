# Every bad argument or event ends the tool with status 2 before it writes anything.
set(json ${OUT}/bad.json)
file(WRITE ${OUT}/bad.planimove "{\"format\": \"planimove-setup\", \"version\": 1, \"type\": 12}")
foreach(args
    "--setup;${OUT}/bad.planimove"
    "--setup;${OUT}/no-such.planimove"
    "--keys;Space Spase"
    "--keys;Shift+Ctrl+Q Space@12"
    "--keys;menu:mnu999"
    "--edition;neither"
    "--max-frames;0"
    "--max-frames;12x"
    "--pictures;${OUT}/no-such-folder"
    "--png"
    "--diagram-size;800x"
    "--diagram-csv"
    "--colour;red"
    "--size;10001x200"
    "--exercise;pol"
    "--exercise;wendepol;--seed;0"
    "--exercise;wendepol;--answer;12"
    "--solution")
  file(REMOVE ${json})
  execute_process(COMMAND ${RENDER} ${args} --json ${json}
                  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
  if(NOT rc EQUAL 2)
    message(FATAL_ERROR "${args}: exit ${rc}, expected 2")
  endif()
  if(EXISTS ${json})
    message(FATAL_ERROR "${args}: wrote ${json} although the arguments were bad")
  endif()
  if(err STREQUAL "")
    message(FATAL_ERROR "${args}: no message")
  endif()
endforeach()
# The position of a bad event is named.
execute_process(COMMAND ${RENDER} --keys "Space  Up Alt+Spase"
                RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
if(NOT err MATCHES "event 3 \\(character 11\\)")
  message(FATAL_ERROR "position not reported: ${err}")
endif()
