set(BENCH_render_scene_LIBS Scaffold)
