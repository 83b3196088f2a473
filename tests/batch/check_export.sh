#!/usr/bin/env bash
# check_export.sh TARV EXPORT_CHECK SYSTEM POINTS [TARV OPTIONS...]
# Exports POINTS with `tarv [OPTIONS] export --to SYSTEM` and has
# EXPORT_CHECK parse the script back and evaluate it at the points.
set -u
tarv=$1 check=$2 system=$3 points=$4
shift 4
N=1
for option in "$@"; do
    case $option in --field=QN:*) N=${option#--field=QN:} ;; esac
done
script=$(mktemp)
trap 'rm -f "$script"' EXIT
"$tarv" "$@" export --to "$system" "$points" >"$script" || { echo "tarv export failed"; exit 1; }
"$check" "$system" "$script" "$points" "$N"
