planner_bench(bench_load session demo_plant)
