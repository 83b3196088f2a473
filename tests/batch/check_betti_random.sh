#!/usr/bin/env bash
# check_betti_random.sh TARV TARV_INTERACTIVE FIELD SEED
# Both linear strands of the interactive program against the Betti table of
# the batch tool (Koszul homology of the Artinian reduction, an independent
# computation) on point sets made from SEED: random sets of P^2 .. P^7 of
# sizes around 2n + 2 (general points, where the strands are longest) and a
# few more, points on a rational normal curve and on a grid.
set -u
tarv=$1 interactive=$2 field=$3 seed=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# points N S KIND: S distinct points of P^N (first coordinate 1) on standard output.
points() {
    awk -v n="$1" -v s="$2" -v kind="$3" -v seed="$seed" -v p="$field" '
        # Coordinates in -30..30, or residues when the field is smaller.
        function rnd(   v) { seed = (seed * 1103515245 + 12345) % 2147483648; v = int(seed / 65536)
                             return p > 1 && p < 61 ? v % p : v % 61 - 30 }
        BEGIN {
            print n + 1; print s
            for (i = 0; i < s; i++) {
                line = "1"
                for (k = 1; k <= n; k++) {
                    if (kind == "curve") v = (i - int(s / 2)) ^ k
                    else if (kind == "grid") v = k == 1 ? i % 3 : (k == 2 ? int(i / 3) : 0)
                    else v = rnd()
                    line = line " " v
                }
                if (kind == "random" && seen[line]++) { i--; continue }
                print line
            }
        }'
}
failed=0
check() {
    local name=$work/$1.pts
    points "$2" "$3" "$4" > "$name"
    "$here/check_betti.sh" "$tarv" "$interactive" "$field" "$name" || failed=1
}
for n in 2 3 4 5 6 7; do
    check r$n $n $((2 * n + 2)) random
    check s$n $n $((3 * n + 1)) random
done
# (Distinct in every field of characteristic above 61.)
if [ "$field" = 0 ] || [ "$field" -gt 61 ]; then
    check curve3 3 9 curve
    check curve4 4 8 curve
    check grid 2 12 grid
fi
exit $failed
