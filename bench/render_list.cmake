set(BENCH_render_list_LIBS Scaffold)
