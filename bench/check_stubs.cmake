# Lists the GL, GLU and GLUT calls of the game library that the frame
# benchmark does not stub, leaving out queries, start-up calls and those of
# the replay layer (reading frames back, the window size, swap control).
execute_process(COMMAND ${NM} -u ${LIBRARY} OUTPUT_VARIABLE undefined)
string(REPLACE "," ";" stubs "${STUBS}")
string(REGEX MATCHALL "U glu?t?[A-Z][A-Za-z0-9]*" references "${undefined}")
set(missing)
foreach(reference IN LISTS references)
  string(SUBSTRING "${reference}" 2 -1 name)
  if(name MATCHES "^(glGet|glIs|glutInit|glutCreate|glutSet|glutMainLoop|glutGet|glutWarp|glutPost|glutLeave|glutExit|glutDestroy|glTexImage|glTexParameter|glGen|glNewList|glEndList|glDelete|glPixelStore|glClearColor|gluNewQuadric|gluQuadric|gluErrorString|glX|glRead|glutReshapeWindow)"
     OR name MATCHES "Func$")
    continue()
  endif()
  list(FIND stubs "${name}" index)
  if(index EQUAL -1)
    list(APPEND missing ${name})
  endif()
endforeach()
list(REMOVE_DUPLICATES missing)
if(missing)
  string(REPLACE ";" " " missing "${missing}")
  message("frame_bench: not stubbed (counted as the game's own time): ${missing}")
endif()
