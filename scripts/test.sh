#!/usr/bin/env bash
# Builds everything and runs every test: the native suites twice (plain, then under AddressSanitizer
# and UndefinedBehaviorSanitizer), the fuzz targets for a bounded time, the MinGW cross builds of the
# same code (32-bit, the product, and 64-bit), and the Windows programs of each build under a private
# Wine prefix of its architecture. A machine that cannot run 32-bit programs tests the 64-bit build
# only and counts the 32-bit runs as skipped. Then the packages are made twice (the same bytes) and
# used from fresh folders, and last the web page is played in Chromium. Ends with "N passed, N
# failed, N skipped" and exits non-zero when anything failed.
set -u
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT=${TRIVO_BUILD_DIR:-$ROOT/build}
FUZZ_SECONDS=${TRIVO_FUZZ_SECONDS:-60}
JOBS=$(nproc 2>/dev/null || echo 2)

bash scripts/setup.sh || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
skipped=0
failures=()
note_pass() { passed=$((passed + $1)); }
note_fail() { failed=$((failed + $1)); failures+=("$2"); }

. tests/lib/checks.sh
# Which Windows programs this machine runs, found by starting a tiny one of each kind under Wine.
. scripts/wine-env.sh
mkdir -p "$OUT"
rm -f "$OUT/package.log"
RUN32=1
SKIP32_WHY=""
if ! wine_runs win32 "$OUT/wine-probe"; then
    RUN32=0
    SKIP32_WHY="32-bit Windows runs skipped: this machine cannot run 32-bit Windows programs ($WINE_ENV_WHY); the Windows suites run on the 64-bit build only"
    echo "note: $SKIP32_WHY"
fi
RUN64=1
if ! wine_runs win64 "$OUT/wine-probe"; then
    RUN64=0
    echo "note: 64-bit Windows programs do not run here: $WINE_ENV_WHY"
fi
if [ "$RUN32" -eq 1 ] && [ "$RUN64" -eq 1 ]; then
    echo "Windows programs: this machine runs 32-bit and 64-bit ones; the Windows suites run on both builds"
fi
if [ "$RUN32" -eq 0 ] && [ "$RUN64" -eq 0 ]; then
    note_fail 1 "Wine runs neither 32-bit nor 64-bit Windows programs here ($WINE_ENV_WHY)"
fi

# Runs ctest in a build dir and adds its counts.
run_ctest() {
    local dir=$1 label=$2 log="$1/ctest.log"
    (cd "$dir" && ctest --output-on-failure -j "$JOBS" --timeout 300) >"$log" 2>&1
    local line total nfail
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$line" ]; then
        cat "$log"
        note_fail 1 "$label: ctest did not run"
        return
    fi
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    nfail=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    echo "$label: $line"
    note_pass $((total - nfail))
    if [ "$nfail" -gt 0 ]; then
        sed -n '/The following tests FAILED/,$p' "$log"
        grep -B2 -A20 -E 'Failure|ERROR: AddressSanitizer|runtime error' "$log" | head -n 80
        note_fail "$nfail" "$label"
    fi
}

# configure_and_build DIR LABEL PRESET [CMAKE_ARGS...]: the configuration of CMakePresets.json, in DIR.
configure_and_build() {
    local dir=$1 label=$2 preset=$3
    shift 3
    if ! { cmake --preset "$preset" -B "$dir" "$@" && cmake --build "$dir" -j "$JOBS"; } >"$dir.build.log" 2>&1; then
        tail -n 60 "$dir.build.log"
        note_fail 1 "$label: build"
        return 1
    fi
    echo "$label: built"
    return 0
}

# 1. Native suites.
built_native=0
if configure_and_build "$OUT/native" "native" native; then
    built_native=1
    run_ctest "$OUT/native" "native"
fi

# 2. The same suites under AddressSanitizer and UndefinedBehaviorSanitizer.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if configure_and_build "$OUT/sanitize" "sanitizers" sanitize; then
    run_ctest "$OUT/sanitize" "sanitizers"
fi

# 3. Fuzz targets (clang, libFuzzer, with ASan and UBSan), each for a bounded time from a fresh corpus.
if configure_and_build "$OUT/fuzz" "fuzz" fuzz; then
    for target in lzw_decode_fuzz loader_fuzz pe_resources_fuzz quiz_content_fuzz manifest_check_fuzz \
        picture_check_fuzz; do
        corpus="$OUT/fuzz/corpus-$target"
        rm -rf "$corpus" && mkdir -p "$corpus"
        # The picture decoders start from the repository's pictures: a minute finds little from nothing.
        seeds=()
        if [ "$target" = picture_check_fuzz ]; then seeds=("$ROOT/examples/drapeaux" "$ROOT/tests/win/media"); fi
        if (cd "$OUT/fuzz" && "./tests/fuzz/$target" "$corpus" "${seeds[@]}" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
            -artifact_prefix="$OUT/fuzz/$target-") >"$OUT/fuzz/$target.log" 2>&1; then
            runs=$(grep -E '^stat::number_of_executed_units' "$OUT/fuzz/$target.log" | awk '{print $2}')
            echo "fuzz $target: ${runs:-?} executions in ${FUZZ_SECONDS} s, no crash, no leak"
            note_pass 1
        else
            tail -n 40 "$OUT/fuzz/$target.log"
            note_fail 1 "fuzz $target"
        fi
    done
fi

# 4. The MinGW cross builds of the same code, 32-bit (the product) and 64-bit, and the Windows
# programs of each run under Wine. The MinGW trees cannot run their own tool, so they pack their
# quizzes with the native one.
# run_wine_suite BUILD LABEL: the Windows checks of one build, counted line by line.
wine_checks=0
run_wine_suite() {
    local build=$1 label=$2 log="$1/wine-tests.log" npass nfail
    bash scripts/wine-tests.sh "$build" >"$log" 2>&1
    local code=$?
    npass=$(checks_count PASS "$log")
    nfail=$(checks_count FAIL "$log")
    wine_checks=$((npass + nfail))
    note_pass "$npass"
    if [ "$code" -eq 0 ]; then
        echo "$label: $npass checks passed ($(grep -E '^wine checks took' "$log" | sed 's/^wine checks //'))"
    else
        grep -E '^(FAIL|---)' "$log" | head -n 40
        echo "$label: $npass checks passed, $nfail failed (log: $log)"
        note_fail "$nfail" "$label"
        [ "$nfail" -gt 0 ] || note_fail 1 "$label: did not finish"
    fi
}

declare -A MINGW_TREE=([i686]="$OUT/mingw" [x86_64]="$OUT/mingw64")
built32=0
built64=0
for arch in i686 x86_64; do
    tree=${MINGW_TREE[$arch]}
    # Test programs of an earlier build must not stand in for ones that no longer build.
    rm -f "$tree"/tests/win/*_test.exe
    # The tool is named here as well as in the preset, since TRIVO_BUILD_DIR may move the trees.
    if configure_and_build "$tree" "mingw $arch" "mingw-$arch" -DTRIVO_NATIVE_TOOL="$OUT/native/trivo-make"; then
        note_pass 1
        [ "$arch" = i686 ] && built32=1 || built64=1
    fi
done

# Both players carry a quiz alike: the native tool reads and rewrites each, and dumps the same folder
# from the sample programs built over them.
if [ "$built32" -eq 1 ] && [ "$built64" -eq 1 ]; then
    log="$OUT/players-alike.log"
    if bash tests/win/players_alike.sh "$OUT/native" "$OUT/mingw" "$OUT/mingw64" >"$log" 2>&1; then
        echo "players: $(checks_count PASS "$log") checks passed"
    else
        cat "$log"
        note_fail "$(checks_count FAIL "$log")" "players alike"
        grep -q '^FAIL ' "$log" || note_fail 1 "players alike: did not finish"
    fi
    note_pass "$(checks_count PASS "$log")"
fi

if [ "$built32" -eq 1 ] && [ "$RUN32" -eq 1 ]; then run_wine_suite "$OUT/mingw" "wine 32-bit"; fi
if [ "$built64" -eq 1 ] && [ "$RUN64" -eq 1 ]; then run_wine_suite "$OUT/mingw64" "wine 64-bit"; fi
if [ "$RUN32" -eq 0 ]; then
    # The 32-bit suite holds the same checks as the 64-bit one.
    skipped=$((skipped + wine_checks))
    echo "note: $SKIP32_WHY"
fi
if [ "$RUN64" -eq 0 ] && [ "$RUN32" -eq 1 ]; then note_fail 1 "wine 64-bit: 64-bit Windows programs do not run here"; fi

# 5. The packages, made twice by scripts/package.sh from the trees above (the same sources give the
# same bytes), then used from fresh folders; the Wine checks are skipped where 32-bit programs cannot run.
if [ "$built_native" -eq 1 ] && [ "$built32" -eq 1 ] && [ "$built64" -eq 1 ]; then
    sums=()
    for _ in 1 2; do
        bash scripts/package.sh >>"$OUT/package.log" 2>&1 && sums+=("$(cd "$OUT/packages" && sha256sum trivo*)")
    done
    if [ "${#sums[@]}" -eq 2 ] && [ "${sums[0]}" = "${sums[1]}" ]; then
        echo "packages: made twice, the same bytes: $(cd "$OUT/packages" && echo trivo*)" && note_pass 1
    else
        tail -n 20 "$OUT/package.log" && note_fail 1 "packages: not made twice alike (log: $OUT/package.log)"
    fi
    log="$OUT/package-test.log"
    TRIVO_NO_WIN32=$([ "$RUN32" -eq 1 ] || echo "$SKIP32_WHY") \
        bash tests/package/package_test.sh "$OUT/packages" "$OUT/wine-probe" >"$log" 2>&1
    grep -E '^(FAIL|SKIP) ' "$log"
    echo "packages used: $(checks_count PASS "$log") checks passed" && note_pass "$(checks_count PASS "$log")"
    skipped=$((skipped + $(checks_count SKIP "$log")))
    [ "$(checks_count FAIL "$log")" -eq 0 ] || note_fail "$(checks_count FAIL "$log")" "packages used"
    grep -qE '^(PASS|FAIL|SKIP) ' "$log" || { cat "$log" && note_fail 1 "packages used: did not run"; }
fi

# 6. The README's commands where the 32-bit Wine cannot be installed: setup under an apt-get that fails
# the i386 lists and packages, and run.sh from the 64-bit build with no 32-bit loader.
if [ "$built_native" -eq 1 ] && [ "$built64" -eq 1 ] && [ "$RUN64" -eq 1 ]; then
    log="$OUT/fresh-machine.log"
    bash tests/scripts/fresh_machine_test.sh "$OUT/fresh-machine" >"$log" 2>&1
    grep '^FAIL ' "$log"
    echo "without the 32-bit Wine: $(checks_count PASS "$log") checks passed"
    note_pass "$(checks_count PASS "$log")"
    [ "$(checks_count FAIL "$log")" -eq 0 ] || note_fail "$(checks_count FAIL "$log")" "without the 32-bit Wine"
    grep -q '^RESULT ' "$log" || { tail -n 20 "$log" && note_fail 1 "without the 32-bit Wine: did not finish"; }
fi

# 7. The web page in Debian's chromium: the samples and the page's keys and rules played through
# playwright-core, pinned by web/tests/package-lock.json and installed with npm ci (from npm's cache
# when offline); the pages are built by the native trivo-make.
if [ "$built_native" -eq 1 ]; then
    log="$OUT/web-tests.log"
    (cd web/tests && { [ -f node_modules/playwright-core/package.json ] || npm ci --prefer-offline --no-audit --no-fund; } &&
        TRIVO_MAKE="$OUT/native/trivo-make" node --test --test-reporter=tap) >"$log" 2>&1
    npass=$(grep -c '^ok ' "$log")
    nfail=$(grep -c '^not ok ' "$log")
    echo "web page: $npass passed, $nfail failed (log: $log)"
    note_pass "$npass"
    [ "$nfail" -eq 0 ] || { grep -A 12 '^not ok ' "$log" | head -n 60; note_fail "$nfail" "web page"; }
    [ $((npass + nfail)) -gt 0 ] || { tail -n 20 "$log"; note_fail 1 "web page: did not run"; }
fi

if [ "${#failures[@]}" -gt 0 ]; then
    echo "failed: ${failures[*]}"
fi
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
