planner_bench(bench_conflicts chart)
