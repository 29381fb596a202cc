planner_bench(bench_drop chart)
