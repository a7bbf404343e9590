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
log_dir=$build_dir/bench-logs
mkdir -p "$log_dir"
ratios=$log_dir/ratios.txt
: >"$ratios"
failed=()
for program in "$build_dir"/bench/bench_*; do
    # Only the programs themselves: the build leaves folders of the same prefix beside them.
    [ -f "$program" ] && [ -x "$program" ] || continue
    name=$(basename "$program")
    if [ -n "$pattern" ] && [[ $name != *$pattern* ]]; then
        continue
    fi
    say "running $name"
    log=$log_dir/$name.log
    status=0
    if [[ $name == bench_gui_* ]]; then
        xvfb-run -a -s "-screen 0 1280x1024x24" "$program" 2>&1 | tee "$log" || status=$?
    else
        "$program" 2>&1 | tee "$log" || status=$?
    fi
    if [ "$status" -ne 0 ]; then
        say "$name FAILED (exit $status)"
        failed+=("$name")
    fi
    # A program ends with its table of measured/baseline ratios; one that measures its
    # baseline inside each benchmark reports it as a counter "ratio=" (baseline/measured).
    sed 's/\x1b\[[0-9;]*m//g' "$log" | awk -v program="$name" '
        /^measured +baseline +ratio$/ { table = 1; next }
        table && NF == 3 { printf "%-28s %-44s %-40s %8s\n", program, $1, $2, $3; next }
        !table && / ratio=/ {
            for (i = 2; i <= NF; ++i)
                if ($i ~ /^ratio=/)
                    printf "%-28s %-44s %-40s %8s\n", program, $1, "(its own, baseline/measured)",
                           substr($i, 7)
        }
    ' >>"$ratios"
done

echo
printf '%-28s %-44s %-40s %8s\n' program measured baseline ratio
cat "$ratios"
if [ ${#failed[@]} -gt 0 ]; then
    say "failed: ${failed[*]}"
    exit 1
fi
