# Runs one fuzz target for SECONDS from its seeds in SEEDS; what it finds new
# goes to WORK (never into the source tree), and so does the input of a
# failure, whose path the output names.
file(MAKE_DIRECTORY ${WORK}/corpus)
set(args -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix=${WORK}/)
if(DICT)
  list(APPEND args -dict=${DICT})
endif()
execute_process(COMMAND ${FUZZER} ${args} ${WORK}/corpus ${SEEDS} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${rc}); the input that broke it is in ${WORK}/")
endif()
