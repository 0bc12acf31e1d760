set(BENCH_glstate_LIBS glstate)
