# Fails when the program holds the fault hook that the tests built beside it link: a program
# that took it would let its file operations be failed on request. Run as
#   cmake -DNM=<nm> -DPROGRAM=<program> -P ProgramHasNoFaultHook.cmake
execute_process(COMMAND ${NM} ${PROGRAM} RESULT_VARIABLE result OUTPUT_VARIABLE symbols
                ERROR_VARIABLE error)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NM} could not list the symbols of ${PROGRAM}: ${error}")
endif()
# The question every file operation asks must be seen, or a program without symbols would pass.
if(NOT symbols MATCHES "InjectedFault")
    message(FATAL_ERROR "SKIPPED: ${PROGRAM} carries no symbols to look for the fault hook in")
endif()
if(symbols MATCHES "SetFaultHook")
    message(FATAL_ERROR "${PROGRAM} holds the fault hook (SetFaultHook): link it with "
                        "quelvar_profile_no_faults, never with quelvar_profile_internals")
endif()
message(STATUS "${PROGRAM} answers every file operation with no fault")
