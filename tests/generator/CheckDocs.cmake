# Fails when DOC differs from what `vexal keys --markdown` prints.
execute_process(COMMAND ${VEXAL} keys --markdown OUTPUT_VARIABLE generated RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "vexal keys --markdown failed")
endif()
file(READ ${DOC} current)
if(NOT generated STREQUAL current)
  message(FATAL_ERROR "${DOC} is out of date; regenerate it with: vexal keys --markdown > ${DOC}")
endif()
