set(BENCH_flame_points_LIBS Emberfold Scaffold)
