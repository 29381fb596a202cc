planner_bench(bench_open app_ui demo_plant Qt6::Test)
