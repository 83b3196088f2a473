#!/usr/bin/env bash
# compare_invariants.sh POINTS_FILE BASELINE_PROGRAM OTHER_PROGRAM...
# Reads the scheme file into each program and asks for the invariants that do
# not depend on the coefficient field (Hilbert function, alpha, sigma, delta,
# Cayley-Bacharach and Gorenstein answers, degrees of the minimal generators,
# type, the linear strands and the shape of the canonical module's
# presentation).  Every program must print exactly what the baseline prints.
# They agree for all but finitely many characteristics, so a difference on
# small integer coordinates is a bug until shown otherwise.
set -u
points=$1
shift
baseline=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$points" "$work/points.pts"
n=$(($(awk '{print $1; exit}' "$points") - 1))

run() {
  local program=$1 setup=""
  case "$(basename "$program")" in
    TARV_Fp8) setup="char 251" ;;
  esac
  (cd "$work" && printf '%s\n' quiet "$setup" "dim $n" "scheme X points.pts" \
      "hilbertfn X" "deltafn X" "alpha X" "sigma X" "delta X" "is_cb X" "is_gor X" \
      "mindegs X" "type X" "linres X" "omega X" quit | "$program" 2>/dev/null) |
    # Everything before the scheme is read shows settings, which name the
    # field; progress dots before a table count reductions, which need not
    # match between fields.
    sed -n '/enter filename/,$p' | sed 's/^\.*//'
}

run "$baseline" >"$work/baseline.txt"
status=0
for program in "$@"; do
  run "$program" >"$work/other.txt"
  if ! cmp -s "$work/baseline.txt" "$work/other.txt"; then
    echo "$(basename "$program") differs from $(basename "$baseline") on $(basename "$points"):"
    diff "$work/baseline.txt" "$work/other.txt" | head -30
    status=1
  fi
done
exit $status
