#!/usr/bin/env bash
# Instructions per input byte of each contender, counted by callgrind inside the call itself.
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

printf '%-8s %-10s %12s %10s %8s\n' input operation instructions bytes 'per byte'
for input in ${inputs[*]}; do
  for op in pack deflate-1 deflate-6 unpack inflate; do
    line=$(valgrind --tool=callgrind --callgrind-out-file="$work/out" --toggle-collect="${entry[$op]}" \
             "$count" "$op" "$input" 2>"$work/log") || { cat "$work/log" >&2; exit 1; }
    bytes=$(echo "$line" | awk '{print $3}')
    instructions=$(sed -n 's/^summary: //p' "$work/out")
    awk -v i="$input" -v o="$op" -v n="$instructions" -v b="$bytes" \
      'BEGIN { printf "%-8s %-10s %12d %10d %8.1f\n", i, o, n, b, n / b }'
  done
done
