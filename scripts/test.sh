#!/usr/bin/env bash
# Sets everything up on a fresh machine and runs the whole suite: packages, the
# private database server with the demo data, the data source "PostgreSQL30", the
# build with tests, ctest (the GUI tests under Xvfb), then the Qt-free tests and
# the fuzzers again in a sanitizer build (address, undefined, leaks), and the viewer
# core tests in a thread-sanitizer build (scene builds on a worker beside an undo history).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$ORMALINE_ROOT/scripts/install-deps.sh"
"$ORMALINE_ROOT/scripts/db-server.sh" start
"$ORMALINE_ROOT/scripts/odbc-setup.sh"

build_dir=$ORMALINE_ROOT/build-test
asan_dir=$ORMALINE_ROOT/build-asan
tsan_dir=$ORMALINE_ROOT/build-tsan
"$ORMALINE_ROOT/scripts/build.sh" "$build_dir" -DORMALINE_TESTS=ON -DORMALINE_BENCH=ON

status=0
say "running the suite"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$build_dir" --output-on-failure --timeout 1500 || status=1

say "building the sanitizer build of the Qt-free layers"
CC=clang-14 CXX=clang++-14 "$ORMALINE_ROOT/scripts/build.sh" "$asan_dir" -DORMALINE_GUI=OFF \
    -DORMALINE_SANITIZE=ON -DORMALINE_FUZZ=ON -DORMALINE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
say "running the Qt-free tests and the fuzzers under the sanitizers"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$asan_dir" --output-on-failure --timeout 600 || status=1

say "building the viewer core tests under the thread sanitizer"
cmake -S "$ORMALINE_ROOT" -B "$tsan_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORMALINE_GUI=OFF -DORMALINE_TSAN=ON -DORMALINE_BENCH=OFF -DORMALINE_TESTS=ON >/dev/null
cmake --build "$tsan_dir" --parallel "$(nproc)" --target test_viewercore test_interactcore
say "running the viewer core tests under the thread sanitizer"
for program in test_viewercore test_interactcore; do
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$tsan_dir/tests/$program" \
        --gtest_brief=1 || status=1
done

if [ $status -ne 0 ]; then
    say "the suite FAILED"
fi
exit $status
