#!/usr/bin/env bash
# run_tarv.sh TARV CASE DATA_DIR
# Runs TARV in a scratch copy of DATA_DIR with the arguments of CASE.args
# (one line, split at blanks) and CASE.in (if any) on standard input;
# compares standard output with CASE.out, standard error with CASE.err (if
# any) and the exit status with CASE.status (default 0).
set -u
tarv=$1 case=$2 data=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$data"/. "$work"/
cd "$work" || exit 2
read -r -a args <"$case.args"
input=/dev/null
[ -f "$case.in" ] && input=$case.in
"$tarv" "${args[@]}" <"$input" >stdout.txt 2>stderr.txt
status=$?
failed=0
if ! cmp -s stdout.txt "$case.out"; then
  echo "standard output differs from $case.out:"
  diff "$case.out" stdout.txt | head -40
  failed=1
fi
if [ -f "$case.err" ] && ! cmp -s stderr.txt "$case.err"; then
  echo "standard error differs from $case.err:"
  diff "$case.err" stderr.txt | head -40
  failed=1
fi
expected=0
[ -f "$case.status" ] && expected=$(cat "$case.status")
if [ "$status" != "$expected" ]; then
  echo "exit status $status, expected $expected"
  failed=1
fi
exit $failed
