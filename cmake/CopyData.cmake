# cmake -DSRC=... -DDST=... -P CopyData.cmake: lays the data folders into the program folder.
if(EXISTS ${SRC})
  file(COPY ${SRC}/ DESTINATION ${DST})
endif()
