# Writes a text for Windows readers: OUT gets the text of IN, or with
# MANUAL=ON the manual page IN rendered as plain text by GROFF, with every
# line ended by CR LF.
#   cmake -DIN=... -DOUT=... [-DMANUAL=ON -DGROFF=...] -P windows-text.cmake
if(MANUAL)
  # -rHY=0: no words broken across lines; -P-cbou: no terminal escapes, no
  # overstruck bold or underlined letters.
  execute_process(COMMAND ${GROFF} -man -rHY=0 -Tascii -P-cbou ${IN}
    OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "groff could not render ${IN}")
  endif()
else()
  file(READ ${IN} text)
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
