#!/usr/bin/env bash
# Sets up, builds everything with the tests, starts a throwaway PostgreSQL
# server for the database cases and runs every test. Exits non-zero when a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

# A server of our own, in a directory of our own, so that a concurrent run is left alone.
export PLANNER_PG_DIR
PLANNER_PG_DIR=$(mktemp -d "${TMPDIR:-/tmp}/planner-pg-XXXXXX")
envfile=$(mktemp)
cleanup() {
    scripts/pg-test-server.sh stop "$PLANNER_PG_DIR" >/dev/null 2>&1 || true
    rm -f "$envfile"
}
trap cleanup EXIT
scripts/pg-test-server.sh start "$envfile"
# shellcheck disable=SC1090
source "$envfile"
echo "test: PostgreSQL test server at $PLANNER_TEST_PG"

# A hung test fails after ten minutes instead of holding the run.
ctest --test-dir build --output-on-failure -j2 --timeout 600
