planner_bench(bench_drop reschedule plan core)
