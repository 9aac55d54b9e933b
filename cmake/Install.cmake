# Installation and the Debian package (make install, make package).

install(TARGETS planimove rautenwerk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET planimove-render)
  install(TARGETS planimove-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Help pictures and explanatory pages; a page added later is found at the next build.
file(GLOB PLANIMOVE_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/pictures/*.gif)
install(FILES ${PLANIMOVE_PICTURES} DESTINATION ${CMAKE_INSTALL_DATADIR}/planimove/pictures)
# Rautenwerk's own pages, where they name its keys.
file(GLOB PLANIMOVE_RAUTENWERK_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/pictures/rautenwerk/*.gif)
if(PLANIMOVE_RAUTENWERK_PICTURES)
  install(FILES ${PLANIMOVE_RAUTENWERK_PICTURES} DESTINATION ${CMAKE_INSTALL_DATADIR}/planimove/pictures/rautenwerk)
endif()
install(FILES data/desktop/planimove.desktop data/desktop/rautenwerk.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(program planimove rautenwerk)
  foreach(size 48 128 192 256 512)
    if(EXISTS ${CMAKE_SOURCE_DIR}/data/icons/${program}-${size}.png)
      install(FILES data/icons/${program}-${size}.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
              RENAME ${program}.png)
    endif()
  endforeach()
endforeach()
install(FILES data/man/planimove-render.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME planimove)
set(CPACK_PACKAGE_VENDOR "Planimove")
set(CPACK_PACKAGE_CONTACT "Planimove developers <planimove@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Kinematics of plane mechanisms for teaching (German)")
set(CPACK_PACKAGE_DESCRIPTION "Planimove shows plane mechanisms (four-bars, slotted crank, slider crank,
six-bar chains) with their kinematic constructions: instantaneous centres and centrodes,
velocity and acceleration plans, curvature, coupler curves and cognates, relative motion
and four-position synthesis. Also contains the earlier edition Rautenwerk and the batch
renderer planimove-render.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The metric-compatible font for "Arial", and giflib (also found by shlibdeps).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libgif7")
include(CPack)
