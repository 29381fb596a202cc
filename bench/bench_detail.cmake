planner_bench(bench_detail windows demo_plant)
