planner_bench(bench_chart chart Qt6::Widgets)
