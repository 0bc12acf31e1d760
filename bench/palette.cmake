set(BENCH_palette_LIBS Scaffold)
