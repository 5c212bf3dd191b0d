#!/usr/bin/env bash
# Instructions per input byte of each contender, counted by callgrind inside the call itself. The last
# column is the part spent in the C library's memset, which callgrind counts one byte at a time when
# memset uses the string-store instruction ("rep stosb"), so that its count says little of its cost.
# Usage: tests/bench/count_instructions.sh BUILD_DIR [INPUT...]   (default inputs: prose quiz words)
set -euo pipefail

count="$1/tests/bench/lzw_count"
shift
[ -x "$count" ] || { echo "no $count: build the bench (-DTRIVO_BENCH=ON) first" >&2; exit 1; }
inputs=("${@:-prose quiz words}")
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The function that holds the whole call, for each operation. Exact names: a pattern that also matched
# a function called inside would switch collection off again there.
declare -A entry=([pack]='lzwEncode(*' [unpack]='lzwDecode(*' [deflate-1]=deflate [deflate-6]=deflate
                  [inflate]=inflate)

printf '%-8s %-10s %12s %10s %9s %15s\n' input operation instructions bytes 'per byte' 'memset per byte'
for input in ${inputs[*]}; do
  for op in pack deflate-1 deflate-6 unpack inflate; do
    line=$(valgrind --tool=callgrind --callgrind-out-file="$work/out" --toggle-collect="${entry[$op]}" \
             "$count" "$op" "$input" 2>"$work/log") || { cat "$work/log" >&2; exit 1; }
    bytes=$(echo "$line" | awk '{print $3}')
    instructions=$(sed -n 's/^summary: //p' "$work/out")
    memset=$(callgrind_annotate "$work/out" 2>/dev/null | awk '/__memset/ { gsub(",", "", $1); s += $1 } END { print s + 0 }')
    awk -v i="$input" -v o="$op" -v n="$instructions" -v b="$bytes" -v m="$memset" \
      'BEGIN { printf "%-8s %-10s %12d %10d %9.1f %15.1f\n", i, o, n, b, n / b, m / b }'
  done
done
