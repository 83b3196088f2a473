#!/usr/bin/env bash
# run_fuzz.sh BUILD_DIR PROGRAM SECONDS [libFuzzer options...]
# Fuzzes the command loop of PROGRAM for SECONDS with the fuzz target built in
# BUILD_DIR (cmake -DTARV_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++).  The corpus
# grows in BUILD_DIR/fuzz-corpus/PROGRAM, seeded with the transcript inputs of
# every program; crashes, leaks and time-outs are written to
# BUILD_DIR/fuzz-findings/PROGRAM.
set -eu
build=$(cd "$1" && pwd) program=$2 seconds=$3
shift 3
source=$(cd "$(dirname "$0")/../.." && pwd)
corpus=$build/fuzz-corpus/$program
findings=$build/fuzz-findings/$program
mkdir -p "$corpus" "$findings"
cp "$source"/tests/transcripts/*/*.in "$corpus"/ 2>/dev/null || true
cp "$source"/tests/valgrind/*.in "$corpus"/ 2>/dev/null || true
exec "$build/tests/fuzz/fuzz_$program" -dict="$build/tests/fuzz/commands.dict" \
  -max_total_time="$seconds" -max_len=2000 -timeout=10 -rss_limit_mb=4096 \
  -artifact_prefix="$findings/" -print_final_stats=1 "$@" "$corpus"
