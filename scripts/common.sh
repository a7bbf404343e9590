# Shared settings of the project's scripts; sourced, never run.
#
# Where things live (a user's own folders; as root, the service user's):
#   cluster data   $ORMALINE_STATE/pgdata       (ORMALINE_PGDATA to choose another folder)
#   ODBC files     $ORMALINE_STATE/odbc/odbcinst.ini and odbc.ini
#   superuser key  $ORMALINE_STATE/superuser.pgpass (mode 0600)
# The cluster listens on 127.0.0.1 only, on a port far from a system server's 5432.

set -euo pipefail

ORMALINE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ORMALINE_DB_PORT=${ORMALINE_DB_PORT:-55432}
ORMALINE_DB_NAME=${ORMALINE_DB_NAME:-ormaline}
ORMALINE_READER=ormaline_reader
ORMALINE_READER_PASSWORD=ormaline_reader
PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}
# The account the server runs as: the user themselves, or a service account when
# the scripts run as root (the server refuses to run as root).
ORMALINE_SERVICE_USER=${ORMALINE_SERVICE_USER:-ormaline}

if [ "$(id -u)" -eq 0 ]; then
    ORMALINE_RUN_AS=$ORMALINE_SERVICE_USER
    ORMALINE_STATE=${ORMALINE_STATE:-/var/lib/$ORMALINE_SERVICE_USER/.local/share/ormaline}
else
    ORMALINE_RUN_AS=$(id -un)
    ORMALINE_STATE=${ORMALINE_STATE:-${XDG_DATA_HOME:-$HOME/.local/share}/ormaline}
fi
ORMALINE_PGDATA=${ORMALINE_PGDATA:-$ORMALINE_STATE/pgdata}
export ODBCSYSINI=$ORMALINE_STATE/odbc
export ODBCINI=$ORMALINE_STATE/odbc/odbc.ini
export PGPASSFILE=$ORMALINE_STATE/superuser.pgpass

say() { printf '[ormaline] %s\n' "$*" >&2; }

# Runs a command as the server's account.
as_service() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u "$ORMALINE_RUN_AS" -- "$@"
    else
        "$@"
    fi
}

# Runs a command as root: directly, or through sudo.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

superuser_psql() {
    psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$ORMALINE_DB_PORT" -U postgres "$@"
}
