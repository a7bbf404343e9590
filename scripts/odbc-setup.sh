#!/usr/bin/env bash
# Writes the user-level ODBC definition of the data source "PostgreSQL30" for the
# private cluster: $ODBCSYSINI/odbcinst.ini (the driver) and $ODBCINI (the data
# source). The system's ODBC files are never touched. Idempotent.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

driver=
for candidate in /usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so /usr/lib/*/odbc/psqlodbcw.so; do
    if [ -f "$candidate" ]; then
        driver=$candidate
        break
    fi
done
if [ -z "$driver" ]; then
    say "the PostgreSQL ODBC driver is not installed (run scripts/install-deps.sh)"
    exit 1
fi

mkdir -p "$ODBCSYSINI"
cat >"$ODBCSYSINI/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Description = PostgreSQL ODBC driver (Unicode)
Driver = $driver
FileUsage = 1
INI

# One data source per database: PostgreSQL30 is the demo database the program uses,
# OrmalineLarge the large one of the benchmarks (scripts/bench.sh loads it).
data_source() {
    cat <<INI
[$1]
Description = $2
Driver = PostgreSQL Unicode
Servername = 127.0.0.1
Port = $ORMALINE_DB_PORT
Database = $3
Username = $ORMALINE_READER
Password = $ORMALINE_READER_PASSWORD
ReadOnly = 1
SSLmode = disable
BoolsAsChar = 0
TextAsLongVarchar = 0
UnknownsAsLongVarchar = 0
MaxVarcharSize = 65535

INI
}

umask 077
{
    data_source PostgreSQL30 "Ormaline demo database (private cluster)" "$ORMALINE_DB_NAME"
    data_source OrmalineLarge "Ormaline large benchmark database (private cluster)" "${ORMALINE_DB_NAME}_large"
} >"$ODBCINI"
say "data sources PostgreSQL30 and OrmalineLarge written to $ODBCINI"
