# dist: the program folder as a user gets it.
set(QORN_DIST ${CMAKE_BINARY_DIR}/dist)
add_custom_target(dist ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QORN_DIST}/plugins ${QORN_DIST}/lang ${QORN_DIST}/skins
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qorn> $<TARGET_FILE:Tenvora> ${QORN_DIST}/
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Ranlowe> ${QORN_DIST}/plugins/
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/data -DDST=${QORN_DIST} -P ${CMAKE_SOURCE_DIR}/cmake/CopyData.cmake
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_BINARY_DIR}/generated/skins -DDST=${QORN_DIST}/skins -P ${CMAKE_SOURCE_DIR}/cmake/CopyData.cmake
  DEPENDS Qorn Tenvora Ranlowe
  COMMENT "Laying out ${QORN_DIST}")
