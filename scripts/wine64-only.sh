#!/usr/bin/env bash
# Wine's 64-bit loader as a machine without the 32-bit Wine has it, for the 64-bit test suite: a 32-bit
# (PE32) program given to it is refused with the message and status Wine gives there, so a 32-bit
# helper that slips into the suite fails it on every machine, also on one whose wine32 would start it.
# Anything else (a 64-bit program, wineboot, regedit) goes to the loader TRIVO_WINE64_LOADER names.
# Programs that a Windows program starts itself do not pass through here.
loader=${TRIVO_WINE64_LOADER:-/usr/lib/wine/wine64}
[ "$loader" -ef "$0" ] && loader=/usr/lib/wine/wine64
program=${1:-}
if [ -f "$program" ]; then
    # The PE header's offset is at 0x3C; the optional header's magic 24 bytes after it: 0x10B is PE32.
    offset=$(od -An -tu4 -j 60 -N 4 "$program" 2>/dev/null | tr -d ' ')
    magic=$([ -n "$offset" ] && od -An -tx2 -j "$((offset + 24))" -N 2 "$program" 2>/dev/null | tr -d ' ')
    if [ "$magic" = 010b ]; then
        echo "Application could not be started, or no application associated with the specified file." >&2
        echo "ShellExecuteEx failed: Internal error." >&2
        exit 1
    fi
fi
exec "$loader" "$@"
