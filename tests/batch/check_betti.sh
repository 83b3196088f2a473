#!/usr/bin/env bash
# check_betti.sh TARV TARV_INTERACTIVE FIELD POINTS [REFERENCE]
# Properties of the Betti table that `tarv --field FIELD betti POINTS` prints:
#  - its alternating sums give the Hilbert function that `tarv invariants`
#    prints: sum_i (-1)^i beta(i,j) = sum_k (-1)^k C(n+1,k) H(j-k);
#  - row alpha-1 (columns 1..n) is the linear strand of I_X and row sigma+1
#    the strand of w_R that TARV_INTERACTIVE (a program over the same field)
#    shows with linres;
#  - with REFERENCE (a reference answer file), it equals its betti_R_i lines,
#    and `tarv invariants` gives its hf, alpha, sigma, delta, cb, gor, type
#    and mingens.
set -u
tarv=$1 interactive=$2 field=$3 points=$4 reference=${5:-}
fail() { echo "$points: $*"; exit 1; }

table=$("$tarv" --field "$field" betti "$points") || fail "tarv betti failed"
invariants=$("$tarv" --field "$field" invariants "$points") || fail "tarv invariants failed"
rows=$(printf '%s\n' "$table" | awk '/^ *[0-9]+:/ { $1 = ""; gsub(/\./, "0"); print substr($0, 2) }')
n=$(printf '%s\n' "$invariants" | awk '/^points:/ { sub(/^P\^/, "", $4); print $4 }')
s=$(printf '%s\n' "$invariants" | awk '/^points:/ { print $2 }')
alpha=$(printf '%s\n' "$invariants" | awk '/^alpha:/ { print $2 }')
sigma=$(printf '%s\n' "$invariants" | awk '/^sigma:/ { print $2 }')
hilbert=$(printf '%s\n' "$invariants" | awk '/^Hilbert function:/ { $1 = $2 = ""; print }')

# Alternating sums against the Hilbert function.
printf '%s\n' "$rows" | awk -v n="$n" -v s="$s" -v hilbert="$hilbert" '
    function binom(a, b,   r, k) { if (b < 0 || b > a) return 0; r = 1; for (k = 1; k <= b; k++) r = r * (a - b + k) / k; return r }
    function H(d) { if (d < 0) return 0; return d < nh ? h[d] : s }
    BEGIN { nh = split(hilbert, hv, " "); for (k = 1; k <= nh; k++) h[k - 1] = hv[k] }
    { for (i = 1; i <= NF; i++) { j = (NR - 1) + (i - 1); chi[j] += ((i - 1) % 2 ? -1 : 1) * $i }; top = NR + NF }
    END {
        for (j = 0; j <= top + n + 1; j++) {
            e = 0; for (k = 0; k <= n + 1; k++) e += (k % 2 ? -1 : 1) * binom(n + 1, k) * H(j - k)
            if (e != chi[j] + 0) { printf "degree %d: alternating sum %d, Hilbert function gives %d\n", j, chi[j], e; bad = 1 }
        }
        exit bad
    }' || fail "alternating sums differ from the Hilbert function"

# The two strands of the interactive program.
script=$(printf 'quiet\ndim %s\nscheme A %s\nlinres A\nquit\n' "$n" "$points")
strands=$(printf '%s\n' "$script" | "$interactive" 2>/dev/null)
if [ "$field" != 0 ] && [[ $field != QN:* ]]; then
    strands=$(printf 'quiet\nchar %s\ndim %s\nscheme A %s\nlinres A\nquit\n' "$field" "$n" "$points" | "$interactive" 2>/dev/null)
fi
I_strand=$(printf '%s\n' "$strands" | awk '/^I_X \|/ { $1 = $2 = ""; print substr($0, 3); exit }')
w_strand=$(printf '%s\n' "$strands" | awk '/^w_R \|/ { $1 = $2 = ""; print substr($0, 3); exit }')
[ -n "$I_strand" ] && [ -n "$w_strand" ] || fail "no linear strands from $interactive"
row() {  # row R: columns 1..n of row R of the table (zeros beyond its end)
    printf '%s\n' "$rows" | awk -v r="$1" -v n="$n" 'NR == r + 1 { for (i = 2; i <= n + 1; i++) printf "%s%s", (i > 2 ? " " : ""), $i; found = 1 }
        END { if (!found) for (i = 1; i <= n; i++) printf "%s0", (i > 1 ? " " : "") }'
}
[ "$(row $((alpha - 1)))" = "$(echo $I_strand)" ] ||
    fail "row $((alpha - 1)) '$(row $((alpha - 1)))' is not the strand of I_X '$I_strand'"
[ "$(row $((sigma + 1)))" = "$(echo $w_strand)" ] ||
    fail "row $((sigma + 1)) '$(row $((sigma + 1)))' is not the strand of w_R '$w_strand'"

# The reference answers.
if [ -n "$reference" ]; then
    expected=$(awk '/^betti_R_[0-9]+:/ { i = substr($1, 9) + 0; for (k = 2; k <= NF; k++) { split($k, p, ":"); print i, p[1] - i, p[2] } }' "$reference" | sort)
    got=$(printf '%s\n' "$rows" | awk '{ for (i = 1; i <= NF; i++) if ($i != 0) print i - 1, NR - 1, $i }' | sort)
    [ "$expected" = "$got" ] || fail "table differs from $reference"
    yes_no() { [ "$1" = yes ] && echo 1 || echo 0; }
    value() { printf '%s\n' "$invariants" | awk -v key="$1" 'index($0, key) == 1 { print substr($0, length(key) + 2) }'; }
    ours="hf:$(echo $hilbert) alpha:$alpha sigma:$sigma delta:$(value delta:) cb:$(yes_no "$(value Cayley-Bacharach:)")"
    ours="$ours gor:$(yes_no "$(value 'arithmetically Gorenstein:')") type:$(value type:)"
    ours="$ours mingens:$(value 'minimal generators of I_X (degree:count):' | sed 's/ (.*//')"
    theirs=$(awk '/^(hf|alpha|sigma|delta|cb|gor|type|mingens):/ { key = $1; $1 = ""; v[key] = substr($0, 2) }
        END { printf "hf:%s alpha:%s sigma:%s delta:%s cb:%s gor:%s type:%s mingens:%s", v["hf:"], v["alpha:"], v["sigma:"], v["delta:"], v["cb:"], v["gor:"], v["type:"], v["mingens:"] }' "$reference")
    [ "$ours" = "$theirs" ] || fail "invariants '$ours' differ from the reference '$theirs'"
fi
exit 0
