#!/usr/bin/env bash
# Installs every Debian package Ormaline needs to build, run and test. Idempotent.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libqt6svg6-dev qt6-qpa-plugins
    libgl-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
    unixodbc unixodbc-dev odbc-postgresql libpq-dev
    postgresql-15 postgresql-client-15
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-14 libclang-rt-14-dev
    python3 python3-gemmi
    xvfb xauth imagemagick fonts-dejavu-core
    openbabel
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
# The packages' own scripts register ODBC drivers in the system files: they must not
# see the project's ODBC locations (which need not exist yet, and are not theirs).
apt_env=(env -u ODBCSYSINI -u ODBCINI -u PGPASSFILE DEBIAN_FRONTEND=noninteractive)
as_root "${apt_env[@]}" apt-get update -qq
as_root "${apt_env[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
# A configuration left half done by an interrupted earlier run is finished too.
as_root "${apt_env[@]}" dpkg --configure -a
say "packages installed"
