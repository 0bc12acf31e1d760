set(BENCH_mesh_build_LIBS Scaffold)
