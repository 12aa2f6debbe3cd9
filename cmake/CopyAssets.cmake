# Copies what ships beside the program into build/dist: the faces, the sample settings file and
# the help, when they exist in the tree.
if(EXISTS ${SRC}/assets/dist)
  file(COPY ${SRC}/assets/dist/ DESTINATION ${DIST})
endif()
foreach(help ${SRC}/build/help/Moodpad.chm)
  if(EXISTS ${help})
    file(COPY ${help} DESTINATION ${DIST})
  endif()
endforeach()
