planner_bench(bench_save store demo_plant)
