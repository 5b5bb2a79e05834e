# The checker reads the data folder it is given: a copy of data/ elsewhere,
# with one item of the study renamed to nothing, fails with a row naming the
# study and that item.
#   cmake -DCHECKER=<content_check> -DDATA=<data folder> -DCOPY=<empty folder> -P FaultyCopy.cmake
file(REMOVE_RECURSE ${COPY})
file(COPY ${DATA} DESTINATION ${COPY})
set(study ${COPY}/data/Scenes/Study.xml)
file(READ ${study} scene)
string(REPLACE "<item name=\"watch\"/>" "<item name=\"watch_nowhere\"/>" faulty "${scene}")
if(faulty STREQUAL scene)
  message(FATAL_ERROR "the study has no item \"watch\" to break")
endif()
file(WRITE ${study} "${faulty}")
execute_process(COMMAND ${CHECKER} ${COPY}/data --gtest_filter=SceneWinnable.*
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(REMOVE_RECURSE ${COPY})
if(NOT result EQUAL 1 OR NOT out MATCHES "data/Scenes/Study.xml:\n[^\n]*\"watch_nowhere\" names no object")
  message(FATAL_ERROR "the checker did not fail the faulty study of the copy (exit ${result}):\n${out}")
endif()
