set(BENCH_render_sort_LIBS Scaffold)
