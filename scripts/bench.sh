#!/usr/bin/env bash
# Builds and runs the benchmarks. The database benchmarks use the large database
# (100,000 ligands, 1,000,000 atom rows) in the same private cluster as the demo,
# reached through the data source "OrmalineLarge"; it is generated on first use.
#   scripts/bench.sh [benchmark-name-pattern]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$ORMALINE_ROOT/scripts/install-deps.sh"
"$ORMALINE_ROOT/scripts/db-server.sh" start
ORMALINE_DB_NAME=${ORMALINE_DB_NAME}_large ORMALINE_DEMO_SCALE=large \
    "$ORMALINE_ROOT/scripts/db-server.sh" start
"$ORMALINE_ROOT/scripts/odbc-setup.sh"
build_dir=$ORMALINE_ROOT/build-bench
"$ORMALINE_ROOT/scripts/build.sh" "$build_dir" -DORMALINE_TESTS=OFF -DORMALINE_BENCH=ON \
    -DCMAKE_BUILD_TYPE=Release
pattern=${1:-}
for program in "$build_dir"/bench/bench_*; do
    [ -x "$program" ] || continue
    name=$(basename "$program")
    if [ -n "$pattern" ] && [[ $name != *$pattern* ]]; then
        continue
    fi
    say "running $name"
    if [[ $name == bench_gui_* ]]; then
        xvfb-run -a -s "-screen 0 1280x1024x24" "$program"
    else
        "$program"
    fi
done
