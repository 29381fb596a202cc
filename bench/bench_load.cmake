planner_bench(bench_load store demo_plant)
