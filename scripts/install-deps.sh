#!/usr/bin/env bash
# Installs every Debian package Ormaline needs to build, run and test. Idempotent.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libqt6svg6-dev qt6-qpa-plugins
    libgl-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
    unixodbc unixodbc-dev odbc-postgresql
    postgresql-15 postgresql-client-15
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-14 libclang-rt-14-dev
    python3
    xvfb xauth imagemagick fonts-dejavu-core
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    say "all packages present"
    exit 0
fi
say "installing: ${missing[*]}"
as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
say "packages installed"
