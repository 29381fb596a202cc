planner_bench(bench_drop reschedule chart)
