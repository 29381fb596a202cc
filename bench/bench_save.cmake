planner_bench(bench_save session demo_plant)
