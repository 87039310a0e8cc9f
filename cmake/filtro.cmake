# Runs PROGRAMMA with file INGRESSO as its standard input and file USCITA as its standard
# output, as a build step: `cmake -DPROGRAMMA=... -DINGRESSO=... -DUSCITA=... -P filtro.cmake`.
# A failure removes the half-written output, so that the next build runs the step again.
execute_process(COMMAND ${PROGRAMMA} INPUT_FILE ${INGRESSO} OUTPUT_FILE ${USCITA}
                RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  file(REMOVE ${USCITA})
  message(FATAL_ERROR "${PROGRAMMA} < ${INGRESSO}: ${esito}")
endif()
