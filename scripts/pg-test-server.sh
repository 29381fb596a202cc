#!/usr/bin/env bash
# A throwaway PostgreSQL server for the database tests.
#
#   scripts/pg-test-server.sh [start] [ENVFILE]   start (or reuse) the server and print
#                                                  export PLANNER_TEST_PG=127.0.0.1:PORT:postgres
#                                                  export PLANNER_TEST_PG_DIR=DIR
#                                                  (written to ENVFILE instead when given)
#   scripts/pg-test-server.sh stop [DIR]          stop it and remove its directory
#
# Needs PostgreSQL's server binaries (Debian 12: apt-get install postgresql-15).
# The server listens on 127.0.0.1 only, trusts every local connection and runs
# without fsync: it holds nothing but test databases. Under root it runs as the
# user postgres (initdb refuses root). Environment: PLANNER_PG_DIR (directory,
# default ${TMPDIR:-/tmp}/planner-pg-test-UID), PLANNER_PG_PORT (first port tried,
# default 54329), PG_BIN (directory of initdb and pg_ctl).
set -euo pipefail

default_dir="${TMPDIR:-/tmp}/planner-pg-test-$(id -u)"
# Under root the server runs as postgres, which must reach the directory
# (a TMPDIR below /root would not do).
if [[ $(id -u) -eq 0 && -z "${PLANNER_PG_DIR:-}" ]] && id postgres >/dev/null 2>&1 &&
    ! runuser -u postgres -- test -x "$(dirname "$default_dir")"; then
    default_dir="/tmp/planner-pg-test-0"
fi

find_bin() {
    if [[ -n "${PG_BIN:-}" ]]; then echo "$PG_BIN"; return; fi
    if [[ -x /usr/lib/postgresql/15/bin/initdb ]]; then echo /usr/lib/postgresql/15/bin; return; fi
    local newest
    newest=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
    if [[ -n "$newest" && -x "$newest/initdb" ]]; then echo "$newest"; return; fi
    echo "pg-test-server: PostgreSQL server binaries not found (apt-get install postgresql-15, or set PG_BIN)" >&2
    exit 1
}

# Runs a command as the server's owner: postgres when we are root.
as_owner() {
    if [[ $(id -u) -eq 0 ]]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

port_in_use() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

running() {  # DIR
    [[ -f "$1/data/PG_VERSION" ]] && as_owner "$BIN/pg_ctl" -D "$1/data" status >/dev/null 2>&1
}

emit() {  # DIR PORT ENVFILE
    local text="export PLANNER_TEST_PG=127.0.0.1:$2:postgres
export PLANNER_TEST_PG_DIR=$1"
    if [[ -n "$3" ]]; then
        printf '%s\n' "$text" >"$3"
    else
        printf '%s\n' "$text"
    fi
}

wait_ready() {  # DIR PORT
    for _ in $(seq 1 100); do
        if "$BIN/pg_isready" -q -h 127.0.0.1 -p "$2" -U postgres; then return 0; fi
        sleep 0.1
    done
    echo "pg-test-server: server in $1 does not answer on port $2; log:" >&2
    tail -n 20 "$1/log" >&2 || true
    exit 1
}

start() {  # ENVFILE
    local envfile="${1:-}" dir="${PLANNER_PG_DIR:-$default_dir}"
    if running "$dir"; then
        # A server from an earlier run: reuse it.
        local port
        port=$(cat "$dir/port")
        wait_ready "$dir" "$port"
        emit "$dir" "$port" "$envfile"
        return
    fi
    # Nothing running there: whatever is left is stale.
    rm -rf "$dir"
    mkdir -p "$dir"
    if [[ $(id -u) -eq 0 ]]; then
        if ! id postgres >/dev/null 2>&1; then
            echo "pg-test-server: user postgres missing (install postgresql-15)" >&2
            exit 1
        fi
        chown postgres: "$dir"
    fi
    chmod 700 "$dir"

    local port="${PLANNER_PG_PORT:-54329}"
    while port_in_use "$port"; do port=$((port + 1)); done

    as_owner "$BIN/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --no-locale >"$dir/initdb.log" 2>&1 || {
        cat "$dir/initdb.log" >&2
        exit 1
    }
    cat >>"$dir/data/postgresql.conf" <<EOF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$dir'
max_connections = 300
fsync = off
synchronous_commit = off
full_page_writes = off
shared_buffers = 32MB
log_min_messages = warning
EOF
    echo "$port" >"$dir/port"
    if [[ $(id -u) -eq 0 ]]; then chown postgres: "$dir/port"; fi
    as_owner "$BIN/pg_ctl" -D "$dir/data" -l "$dir/log" -w -t 60 start >/dev/null || {
        tail -n 20 "$dir/log" >&2 || true
        exit 1
    }
    wait_ready "$dir" "$port"
    emit "$dir" "$port" "$envfile"
}

stop() {  # DIR
    local dir="${1:-${PLANNER_PG_DIR:-$default_dir}}"
    if [[ ! -f "$dir/data/PG_VERSION" ]]; then
        echo "pg-test-server: no test server in $dir" >&2
        return 0
    fi
    as_owner "$BIN/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$dir"
}

BIN=$(find_bin)
case "${1:-start}" in
    start) start "${2:-}" ;;
    stop) stop "${2:-}" ;;
    -h | --help) sed -n '2,14p' "$0" ;;
    *) start "$1" ;;  # a lone argument is the env file
esac
