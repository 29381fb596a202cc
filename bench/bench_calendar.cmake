planner_bench(bench_calendar core)
