#!/usr/bin/env bash
# Sets up, builds and starts the planner on the demo plant (operator 1001,
# factory 1, today's date). Extra arguments are passed on to the planner.
# Without a display the planner runs under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh planner planner-demo

bin=build/bin
today=$(date +%Y%m%d)
if [[ ! -f $bin/demo-plant.sqlite ]]; then
    "$bin/planner-demo" --db "$bin/demo-plant.sqlite" --date "$today"
fi
if [[ ! -f $bin/planner.ini ]]; then
    # 17 items: two unused, four switches, day change, window size, Oracle
    # user/password/service, database kind, then file (SQLite) or server items.
    cat >"$bin/planner.ini" <<'INI'
"Velmoran"
"DEMO"
0
0
0
0
"08:00:00"
1600
900
""
""
""
"SQLITE"
"demo-plant.sqlite"
""
""
""
INI
fi

command=("$bin/planner" "$today" 1001 1 1 PLANNER "$@")
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    exec xvfb-run -a "${command[@]}"
fi
exec "${command[@]}"
