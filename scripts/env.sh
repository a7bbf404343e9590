# Sourced by a shell to use the private data source by hand:
#   source scripts/env.sh && build/ormaline
# shellcheck shell=bash
eval "$(bash -c 'source "$1/common.sh"; printf "export ODBCSYSINI=%q ODBCINI=%q\n" "$ODBCSYSINI" "$ODBCINI"' \
    _ "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)")"
