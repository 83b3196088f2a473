#!/usr/bin/env bash
# run_transcript.sh PROGRAM CASE DATA_DIR
# Runs PROGRAM in a scratch folder holding a copy of DATA_DIR, with CASE.in on
# standard input, and compares standard output with CASE.out, and standard
# error and the exit status with CASE.err and CASE.status when those exist
# (the status defaults to 0).  CASE.args, when it exists, holds the
# command-line arguments, separated by blanks.  CASE.files lists files the run must leave in
# the scratch folder: for each name F in it, CASE.F holds the expected text.
set -u
program=$1 case=$2 data=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$data"/. "$work"/ 2>/dev/null
cd "$work" || exit 2
args=()
[ -f "$case.args" ] && read -r -a args <"$case.args"
"$program" "${args[@]}" <"$case.in" >stdout.txt 2>stderr.txt
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
expected_status=0
[ -f "$case.status" ] && expected_status=$(cat "$case.status")
if [ "$status" != "$expected_status" ]; then
  echo "exit status $status, expected $expected_status"
  failed=1
fi
if [ -f "$case.files" ]; then
  while read -r name; do
    [ -n "$name" ] || continue
    if ! cmp -s "$name" "$case.$name"; then
      echo "file $name differs from $case.$name:"
      diff "$case.$name" "$name" 2>&1 | head -40
      failed=1
    fi
  done <"$case.files"
fi
exit $failed
