# Regenerates the extension's constants into a fresh file and fails when the committed one differs.
execute_process(COMMAND ${GENERATOR} ${FRESH} RESULT_VARIABLE written)
if(NOT written EQUAL 0)
  message(FATAL_ERROR "write_extension_constants failed: ${written}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${COMMITTED} ${FRESH} RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} is not what src/contract/extension_contract.h gives: build the "
                      "extension_constants target and commit the file")
endif()
