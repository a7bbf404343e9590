#!/usr/bin/env bash
# Starts, stops or reports the private PostgreSQL 15 cluster that holds the demo
# database, and loads the demo data on first start.
#
#   scripts/db-server.sh start [DATA_FOLDER]   start (a second start does nothing)
#   scripts/db-server.sh stop  [DATA_FOLDER]
#   scripts/db-server.sh status [DATA_FOLDER]
#   scripts/db-server.sh reload-demo [DATA_FOLDER]   drop and load the demo database again
#
# ORMALINE_DEMO_SCALE=large makes the generator build the large benchmark database.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

command=${1:-start}
if [ $# -ge 2 ]; then
    ORMALINE_PGDATA=$(realpath -m "$2")
fi
log_file=$ORMALINE_PGDATA.log

ensure_service_user() {
    if [ "$(id -u)" -eq 0 ] && ! id -u "$ORMALINE_RUN_AS" >/dev/null 2>&1; then
        say "creating the service account $ORMALINE_RUN_AS"
        useradd --system --home-dir "/var/lib/$ORMALINE_RUN_AS" --create-home \
            --shell /usr/sbin/nologin "$ORMALINE_RUN_AS"
    fi
}

is_running() {
    [ -f "$ORMALINE_PGDATA/PG_VERSION" ] && as_service "$PG_BIN/pg_ctl" -D "$ORMALINE_PGDATA" status >/dev/null 2>&1
}

init_cluster() {
    say "creating the cluster in $ORMALINE_PGDATA"
    mkdir -p "$ORMALINE_STATE" "$(dirname "$ORMALINE_PGDATA")"
    local password
    password=$(head -c 24 /dev/urandom | od -An -tx1 | tr -d ' \n')
    umask 077
    printf '127.0.0.1:*:*:postgres:%s\n' "$password" >"$PGPASSFILE"
    local pwfile
    pwfile=$(mktemp)
    printf '%s\n' "$password" >"$pwfile"
    if [ "$(id -u)" -eq 0 ]; then
        chown "$ORMALINE_RUN_AS" "$pwfile" "$ORMALINE_STATE" "$(dirname "$ORMALINE_PGDATA")"
    fi
    mkdir -p "$ORMALINE_PGDATA"
    [ "$(id -u)" -eq 0 ] && chown "$ORMALINE_RUN_AS" "$ORMALINE_PGDATA"
    as_service "$PG_BIN/initdb" -D "$ORMALINE_PGDATA" -U postgres --pwfile="$pwfile" \
        --auth-local=reject --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 >/dev/null
    rm -f "$pwfile"
    umask 022
    cat >>"$ORMALINE_PGDATA/postgresql.conf" <<CONF

# Private cluster of Ormaline's scripts: loopback only, no Unix socket.
listen_addresses = '127.0.0.1'
port = $ORMALINE_DB_PORT
unix_socket_directories = ''
shared_buffers = 256MB
work_mem = 32MB
maintenance_work_mem = 256MB
max_wal_size = 2GB
CONF
}

start_cluster() {
    ensure_service_user
    if [ ! -f "$ORMALINE_PGDATA/PG_VERSION" ]; then
        init_cluster
    fi
    if is_running; then
        say "the server is already running on 127.0.0.1:$ORMALINE_DB_PORT"
    else
        # A server that crashed leaves postmaster.pid behind; it is stale when no
        # server answers for this folder.
        if [ -f "$ORMALINE_PGDATA/postmaster.pid" ]; then
            say "removing the stale lock $ORMALINE_PGDATA/postmaster.pid"
            rm -f "$ORMALINE_PGDATA/postmaster.pid"
        fi
        touch "$log_file"
        [ "$(id -u)" -eq 0 ] && chown "$ORMALINE_RUN_AS" "$log_file"
        say "starting the server on 127.0.0.1:$ORMALINE_DB_PORT"
        if ! as_service "$PG_BIN/pg_ctl" -D "$ORMALINE_PGDATA" -l "$log_file" -w -t 120 start >/dev/null; then
            tail -n 20 "$log_file" >&2
            say "the server did not start; its log is $log_file"
            exit 1
        fi
    fi
    load_demo_if_missing
}

database_exists() {
    [ "$(superuser_psql -d postgres -Atc "select 1 from pg_database where datname = '$ORMALINE_DB_NAME'")" = 1 ]
}

load_demo_if_missing() {
    if database_exists; then
        # The role's password and rights are set again in case they were changed.
        superuser_psql -d "$ORMALINE_DB_NAME" -f "$ORMALINE_ROOT/database/readonly_role.sql" >/dev/null
        return
    fi
    local scale=${ORMALINE_DEMO_SCALE:-demo}
    say "loading the $scale database '$ORMALINE_DB_NAME'"
    local started=$SECONDS
    superuser_psql -d postgres -c "create database $ORMALINE_DB_NAME"
    # A failed load drops the database again: no half database is left behind.
    if ! { cat "$ORMALINE_ROOT/database/schema.sql"
           python3 "$ORMALINE_ROOT/database/generate_demo.py" --scale "$scale"
         } | superuser_psql -d "$ORMALINE_DB_NAME" -f - >/dev/null; then
        superuser_psql -d postgres -c "drop database if exists $ORMALINE_DB_NAME"
        say "loading the demo data failed"
        exit 1
    fi
    superuser_psql -d "$ORMALINE_DB_NAME" -f "$ORMALINE_ROOT/database/readonly_role.sql" >/dev/null
    superuser_psql -d "$ORMALINE_DB_NAME" -c "analyze" >/dev/null
    say "demo database loaded in $((SECONDS - started)) s"
}

stop_cluster() {
    if is_running; then
        say "stopping the server"
        as_service "$PG_BIN/pg_ctl" -D "$ORMALINE_PGDATA" -m fast -w stop >/dev/null
    else
        say "the server is not running"
    fi
}

case $command in
    start) start_cluster ;;
    stop) stop_cluster ;;
    status)
        if is_running; then say "running on 127.0.0.1:$ORMALINE_DB_PORT ($ORMALINE_PGDATA)"; else say "not running"; exit 3; fi ;;
    reload-demo)
        start_cluster
        superuser_psql -d postgres -c "drop database if exists $ORMALINE_DB_NAME with (force)"
        load_demo_if_missing ;;
    *) echo "usage: $0 start|stop|status|reload-demo [DATA_FOLDER]" >&2; exit 2 ;;
esac
