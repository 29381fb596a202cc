planner_bench(bench_grid windows Qt6::Widgets)
