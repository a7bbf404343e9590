#!/usr/bin/env bash
# Checks the invariants of the loaded demo data (database/check_demo.sql) as the
# read-only role, the way the program sees the database.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
PGPASSWORD=$ORMALINE_READER_PASSWORD psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 \
    -p "$ORMALINE_DB_PORT" -U "$ORMALINE_READER" -d "${1:-$ORMALINE_DB_NAME}" \
    -f "$ORMALINE_ROOT/database/check_demo.sql"
