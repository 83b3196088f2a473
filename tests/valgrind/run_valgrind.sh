#!/usr/bin/env bash
# run_valgrind.sh VALGRIND PROGRAM SCRIPT DATA_DIR
# Runs PROGRAM under valgrind's memcheck in a scratch folder holding a copy of
# DATA_DIR, with SCRIPT on standard input.  Fails on any memory error, on a
# definitely or indirectly lost block, and when the run does not end normally
# (status 0 and the farewell).
set -u
valgrind=$1 program=$2 script=$3 data=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$data"/. "$work"/ 2>/dev/null
cd "$work" || exit 2
"$valgrind" -q --leak-check=full --error-exitcode=1 --errors-for-leak-kinds=definite,indirect \
  --log-file=valgrind.txt "$program" <"$script" >stdout.txt 2>stderr.txt
status=$?
if [ -s valgrind.txt ]; then
  cat valgrind.txt
fi
if [ "$status" != 0 ]; then
  echo "exit status $status"
  exit 1
fi
if ! grep -q "^thanks for using TARV$" stdout.txt; then
  echo "the run did not end with the farewell:"
  tail -5 stdout.txt
  exit 1
fi
