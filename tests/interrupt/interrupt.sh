#!/usr/bin/env bash
# interrupt.sh PROGRAM
# Ctrl-C as a test: SIGINT sent to the program while it computes the
# canonical module of 1500 points (minutes of work) must bring it back to the
# prompt with the scheme kept, its Hilbert function unchanged and later
# commands working; SIGINT while it waits for input ends it as before.
set -u
program=$1
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 2
fail() { echo "$*"; echo "--- stdout"; tail -20 out.txt; echo "--- stderr"; tail -5 err.txt; exit 1; }

# Waits (without a time limit of its own: ctest has one) until FILE holds TEXT.
wait_for() {
  until grep -q -- "$2" "$1" 2>/dev/null; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended before '$2' appeared"
    sleep 0.1
  done
}

# 1. Interrupting a computation.
mkfifo in
"$program" <in >out.txt 2>err.txt &
pid=$!
exec 3>in
printf 'dim 2\nrandom A 1500\nhilbertfn A\nomega A\n' >&3
wait_for err.txt "calculating canonical forms"
kill -INT "$pid"
printf 'hilbertfn A\nlist\nrandom B 6\nomega B\nquit\n' >&3
exec 3>&-
wait "$pid"
status=$?
pid=
[ "$status" = 0 ] || fail "exit status $status after the interrupt, expected 0"
grep -qx "interrupted" out.txt || fail "no report of the interrupt"
[ "$(grep -o 'H(n) = .*' out.txt | wc -l)" = 2 ] || fail "hilbertfn was not shown twice"
[ "$(grep -o 'H(n) = .*' out.txt | sort -u | wc -l)" = 1 ] || fail "the Hilbert function changed"
grep -q "^% scheme A$" out.txt || fail "scheme A is not listed after the interrupt"
grep -q "P^4 --> P^3(1) --> w_R --> 0" out.txt || fail "omega of a later scheme was not computed"
grep -q "thanks for using TARV" out.txt || fail "the run did not end normally"

# 2. Ctrl-C at the prompt ends the program by the signal, as it always did.
# The signal is repeated: the first may come just before the program blocks.
rm -f in out.txt err.txt
mkfifo in
"$program" <in >out.txt 2>err.txt &
pid=$!
exec 3>in
printf 'dim 2\n' >&3
wait_for out.txt "deg-rev-lex"
while kill -INT "$pid" 2>/dev/null; do sleep 0.2; done
wait "$pid"
status=$?
pid=
exec 3>&-
[ "$status" = 130 ] || fail "exit status $status after Ctrl-C at the prompt, expected 130 (SIGINT)"
exit 0
