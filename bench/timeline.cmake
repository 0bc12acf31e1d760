set(BENCH_timeline_LIBS player_core)
