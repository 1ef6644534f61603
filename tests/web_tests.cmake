# The calculation's suite built for the web and run under Node, memory
# growing for the megabyte-long answers, its exit status Node's own.
target_link_options(calc_tests PRIVATE -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)
add_test(NAME calc_tests COMMAND calc_tests)
