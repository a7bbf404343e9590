#!/usr/bin/env bash
# Sets everything up on a fresh machine and starts Ormaline on the demo database:
# packages, the private database server with the demo data, the data source
# "PostgreSQL30", the build, then the program.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$ORMALINE_ROOT/scripts/install-deps.sh"
"$ORMALINE_ROOT/scripts/db-server.sh" start
"$ORMALINE_ROOT/scripts/odbc-setup.sh"
"$ORMALINE_ROOT/scripts/build.sh" "$ORMALINE_ROOT/build" -DORMALINE_TESTS=OFF -DORMALINE_BENCH=OFF
say "starting Ormaline"
exec "$ORMALINE_ROOT/build/ormaline" "$@"
