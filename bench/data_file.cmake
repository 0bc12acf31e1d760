set(BENCH_data_file_LIBS player_core)
