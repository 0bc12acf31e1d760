set(BENCH_swarm_build_LIBS Swarms Scaffold)
