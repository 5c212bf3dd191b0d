#!/usr/bin/env bash
# Writes the two unpacked resources of a quiz from a "key=value" description (UTF-8):
# OUTDIR/content.bin (header bytes, "|"-ended fields, reveal byte, comments, colour) and
# OUTDIR/codes.bin (one score code per line, CR LF), both in code page 1252.
# Usage: quiz-content.sh QUIZ.txt OUTDIR
set -eu
in=$1
out=$2
mkdir -p "$out"
declare -A kinds=([text]=0 [picture]=1 [audio]=2 [video]=3)
kind=text slots=1 reveal=2 colour="255 255 255" title="" author="" description="" caption1="" caption2=""
questions=()
codes=()
while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in
        '#'* | '') continue ;;
        q=*) questions+=("${line#q=}") ;;
        code=*) codes+=("${line#code=}") ;;
        *=*) printf -v "${line%%=*}" '%s' "${line#*=}" ;;
    esac
done <"$in"

cp1252() { printf '%s' "$1" | iconv -f UTF-8 -t CP1252; }
byte() { printf "\\x$(printf '%02x' "$1")"; }

{
    byte 0
    byte $((${kinds[$kind]} + 1))
    byte ${#questions[@]}
    byte "$slots"
    for field in "$title" "$author" "$description" "$caption1" "$caption2"; do
        cp1252 "$field"
        printf '|'
    done
    for q in "${questions[@]}"; do
        IFS='|' read -r answer1 answer2 text comment <<<"$q"
        cp1252 "$answer1"; printf '|'
        if [ "$slots" = 2 ]; then cp1252 "$answer2"; printf '|'; fi
        cp1252 "$text"; printf '|'
    done
    byte "$reveal"
    if [ "$reveal" = 2 ]; then
        for q in "${questions[@]}"; do
            IFS='|' read -r answer1 answer2 text comment <<<"$q"
            cp1252 "$comment"; printf '|'
        done
    fi
    for c in $colour; do byte "$c"; done
} >"$out/content.bin"

: >"$out/codes.bin"
for c in "${codes[@]}"; do
    { cp1252 "$c"; printf '\r\n'; } >>"$out/codes.bin"
done
