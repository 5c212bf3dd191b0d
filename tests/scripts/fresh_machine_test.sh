#!/usr/bin/env bash
# The README's commands on a machine where the 32-bit Wine cannot be had: apt-get's update fails on an
# index being synchronised and every install that names an :i386 package fails, while the rest goes to
# the real apt-get; dpkg-query reports no :i386 package installed and the 32-bit loader is absent.
# Then setup.sh exits 0 with one line about the 32-bit Wine, a failed install of what every machine
# needs is an error naming the packages, and run.sh saves its screenshot from the 64-bit build.
# Prints one PASS or FAIL line per check. Usage: fresh_machine_test.sh WORK_DIR [--no-run]
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$1
rm -rf "$WORK" && mkdir -p "$WORK/bin"
. "$ROOT/tests/lib/checks.sh"
CALLS="$WORK/apt-calls.txt"

# FAKE_ABSENT names one more package that dpkg-query reports missing and apt-get cannot install.
cat >"$WORK/bin/apt-get" <<EOF
#!/usr/bin/env bash
echo "apt-get \$*" >>"$CALLS"
if [ "\$1" = update ]; then
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100
fi
if [[ " \$* " == *":i386 "* ]] || { [ -n "\${FAKE_ABSENT:-}" ] && [[ " \$* " == *" \$FAKE_ABSENT "* ]]; }; then
    echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages." >&2
    exit 100
fi
exec /usr/bin/apt-get "\$@"
EOF
cat >"$WORK/bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
name=${!#}
if [[ $name == *:i386 ]] || [ "$name" = "${FAKE_ABSENT:-}" ]; then
    echo "dpkg-query: no packages found matching $name" >&2
    exit 1
fi
exec /usr/bin/dpkg-query "$@"
EOF
# Adding the i386 architecture is recorded, not done.
cat >"$WORK/bin/dpkg" <<EOF
#!/usr/bin/env bash
if [ "\$1" = --add-architecture ]; then echo "dpkg \$*" >>"$CALLS"; exit 0; fi
exec /usr/bin/dpkg "\$@"
EOF
chmod +x "$WORK/bin/"*
export PATH="$WORK/bin:$PATH" TRIVO_APT_PAUSE=0
calls() { cat "$CALLS" 2>/dev/null | grep -c "^$1"; }

# 1. Only the 32-bit group is missing, and it cannot be installed (on a kernel that runs 32-bit code).
out=$(TRIVO_KERNEL_RUNS_32BIT=yes bash "$ROOT/scripts/setup.sh" 2>&1)
code=$?
check "setup without the 32-bit Wine: exit status" "0" "$code"
check "setup without the 32-bit Wine: one line says so and that the 64-bit build will be used" "1" \
    "$(grep -c '^setup: the 32-bit Wine is not installed (apt-get install wine32:i386 .*held packages.); the 64-bit build will be used$' <<<"$out")"
check "setup: apt-get update tried three times" "3" "$(calls 'apt-get update')"
check "setup: one install, of the 32-bit group only" "1 1" \
    "$(calls 'apt-get install') $(grep '^apt-get install' "$CALLS" | grep -c 'wine32:i386')"

# 1b. A kernel that runs no 32-bit code, everything else there: nothing of i386 asked for, no apt command.
rm -f "$CALLS"
TRIVO_KERNEL_RUNS_32BIT=no bash "$ROOT/scripts/setup.sh" >/dev/null 2>&1
check "setup on a 64-bit-only kernel: exit 0, no apt command" "0 0" "$? $(calls apt-get)"

# 2. The 32-bit group left out and everything else there: no apt command at all, nothing said.
rm -f "$CALLS"
out=$(TRIVO_NO_32BIT=1 bash "$ROOT/scripts/setup.sh" 2>&1)
check "setup with everything there: exit 0, silent, no apt command" "0 [] 0" "$? [$out] $(calls apt-get)"

# 3. A package every machine needs cannot be installed: an error that names it and apt's line.
rm -f "$CALLS"
out=$(TRIVO_NO_32BIT=1 FAKE_ABSENT=xdotool bash "$ROOT/scripts/setup.sh" 2>&1)
code=$?
check "setup, a needed package not installable: exit 1" "1" "$code"
check "setup, a needed package not installable: the packages and apt's line" "2" \
    "$(grep -cE '^setup: (installing the packages every build needs failed: apt-get install xdotool|apt-get said: E: Error, pkgProblemResolver.*; apt-get update had failed 3 times: E: Some index files)' <<<"$out")"

# 4. The run command on the same machine, with no 32-bit loader: the 64-bit sample and its screenshot.
if [ "${2:-}" != --no-run ]; then
    rm -f "$ROOT/build/play/screenshot.png"
    out=$(WINE_LOADER_WIN32="$WORK/no-such-wine" DISPLAY="" bash "$ROOT/scripts/run.sh" 2>&1)
    code=$?
    echo "$out" | tail -n 3
    check "run.sh without the 32-bit Wine: exit 0" "0" "$code"
    check "run.sh without the 32-bit Wine: the 64-bit build, said once" "1" "$(grep -c 'starting the 64-bit build' <<<"$out")"
    check "run.sh without the 32-bit Wine: its screenshot" "yes" \
        "$([ -s "$ROOT/build/play/screenshot.png" ] && grep -q "Screenshot: $ROOT/build/play/screenshot.png" <<<"$out" && echo yes || echo no)"
fi
echo "RESULT $CHECKS_PASSED passed, $CHECKS_FAILED failed"
[ "$CHECKS_FAILED" -eq 0 ]
