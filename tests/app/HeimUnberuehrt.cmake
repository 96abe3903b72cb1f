# Starts a window test program the way someone would start it by hand: HOME is a home folder
# with a club database in its default folder ~/schiess/Datenbanken, and no other variable points
# the program elsewhere. Afterwards the home folder must hold exactly what it held before.
#
# cmake -DPROGRAM=<test program> -DHEIM=<folder to use as home> -P HeimUnberuehrt.cmake

file(REMOVE_RECURSE ${HEIM} ${HEIM}.vorher)
file(MAKE_DIRECTORY ${HEIM}/schiess/Datenbanken ${HEIM}/.local/share/TVX_Dadazuror)
file(WRITE ${HEIM}/schiess/Datenbanken/Verein.vdb "Daten des Vereins")
file(WRITE ${HEIM}/.local/share/TVX_Dadazuror/TVX_Vidazer.dir "${HEIM}/schiess/Datenbanken/\r\n\r\n\r\n\r\n")
file(COPY ${HEIM}/ DESTINATION ${HEIM}.vorher)

execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME --unset=XDG_CONFIG_HOME --unset=XDG_CACHE_HOME
            HOME=${HEIM} QT_QPA_PLATFORM=offscreen ${PROGRAM}
    RESULT_VARIABLE ergebnis)
if(NOT ergebnis EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} endete mit ${ergebnis}")
endif()

execute_process(COMMAND diff -r ${HEIM}.vorher ${HEIM} RESULT_VARIABLE unterschied)
if(NOT unterschied EQUAL 0)
    message(FATAL_ERROR "Der Heimordner ${HEIM} hat sich verändert.")
endif()
file(REMOVE_RECURSE ${HEIM} ${HEIM}.vorher)
