#!/usr/bin/env bash
# Configures and builds Ormaline in build/ (or the folder given).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build_dir=${1:-$ORMALINE_ROOT/build}
shift || true
cmake -S "$ORMALINE_ROOT" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
