#!/usr/bin/env bash
# Configures and builds the planner, its tools and tests into build/.
#   scripts/build.sh [TARGET...]   (default: everything)
# Environment: PLANNER_BUILD_DIR (default build), PLANNER_JOBS (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${PLANNER_BUILD_DIR:-build}
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DPLANNER_BUILD_TESTS=ON "${launcher[@]}" >/dev/null
targets=()
for t in "$@"; do
    targets+=(--target "$t")
done
cmake --build "$build_dir" -j "${PLANNER_JOBS:-2}" "${targets[@]}"
