# The last step of `make web`, after the program is linked: writes the
# service worker (sw.js) with the list of the site's program files and a
# version that changes with their contents, and a gzip copy (NAME.gz) of each
# file that compresses, which tools/serve_site.py serves.
#   cmake -DSITE_DIR=… -DTEMPLATE=…/service_worker.js -DGZIP=/bin/gzip -P finish_site.cmake
file(GLOB_RECURSE all RELATIVE ${SITE_DIR} ${SITE_DIR}/*)
list(FILTER all EXCLUDE REGEX "(\\.gz|^sw\\.js)$")
list(SORT all)

# The program's files: everything but the explanatory pictures and the icons
# of other sizes than those the manifests name.
set(program "")
set(pictures "")
foreach(f ${all})
  if(f MATCHES "^pictures/.*\\.gif$")
    list(APPEND pictures ${f})
  elseif(NOT f MATCHES "^icons/" OR f MATCHES "-(48|192|512)\\.png$")
    list(APPEND program ${f})
  endif()
endforeach()

function(version_of out files)
  set(sums "")
  foreach(f ${files})
    file(MD5 ${SITE_DIR}/${f} sum)
    string(APPEND sums "${f} ${sum}\n")
  endforeach()
  string(MD5 v "${sums}")
  string(SUBSTRING ${v} 0 16 v)
  set(${out} ${v} PARENT_SCOPE)
endfunction()
version_of(SITE_VERSION "${program}")
version_of(PICTURES_VERSION "${pictures}")

set(quoted "")
foreach(f ${program})
  if(f STREQUAL "index.html")
    set(f "./")
  endif()
  list(APPEND quoted "'${f}'")
endforeach()
list(JOIN quoted ",\n  " SITE_FILES)
set(SITE_FILES "\n  ${SITE_FILES},\n")
configure_file(${TEMPLATE} ${SITE_DIR}/sw.js @ONLY)

# Compressed copies of what compresses (not the pictures, icons and the font,
# which are compressed already).
foreach(f ${program} sw.js)
  if(f MATCHES "\\.(html|js|wasm|json|webmanifest|svg)$")
    execute_process(COMMAND ${GZIP} -9 -n -c ${SITE_DIR}/${f} OUTPUT_FILE ${SITE_DIR}/${f}.gz
      RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "gzip failed on ${f}")
    endif()
  endif()
endforeach()
