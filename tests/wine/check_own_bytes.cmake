# The installer's own bytes: the program less the two images it carries, whose
# sizes the build fixes. Prints them and fails when they exceed the limit, so
# that what the program brings along (a runtime part, a library, an
# optimisation level) cannot grow it unnoticed.
#
#   cmake -DPROGRAM=<Install_Vorpane.exe> -DIMAGE_BYTES=<n> -DLIMIT=<n> -P check_own_bytes.cmake
foreach(input PROGRAM IMAGE_BYTES LIMIT)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "check_own_bytes.cmake needs -D${input}=...")
  endif()
endforeach()
file(SIZE "${PROGRAM}" size)
math(EXPR own "${size} - ${IMAGE_BYTES}")
message(STATUS "${PROGRAM}: ${size} bytes, ${IMAGE_BYTES} of them the embedded images, ${own} its own (limit ${LIMIT})")
if(own GREATER LIMIT)
  math(EXPR over "${own} - ${LIMIT}")
  message(FATAL_ERROR "the installer's own bytes exceed the limit by ${over}")
endif()
