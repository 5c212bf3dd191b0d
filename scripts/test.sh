#!/usr/bin/env bash
# Builds everything and runs every test: the native suites twice (plain, then under AddressSanitizer
# and UndefinedBehaviorSanitizer), the fuzz targets for a bounded time, the MinGW cross build of the
# same code, and the Windows programs under a private Wine prefix. Ends with "N passed, N failed" and
# exits non-zero when anything failed.
set -u
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT=${TRIVO_BUILD_DIR:-$ROOT/build}
FUZZ_SECONDS=${TRIVO_FUZZ_SECONDS:-60}
JOBS=$(nproc 2>/dev/null || echo 2)

bash scripts/setup.sh || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
failures=()
note_pass() { passed=$((passed + $1)); }
note_fail() { failed=$((failed + $1)); failures+=("$2"); }

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

configure_and_build() {
    local dir=$1 label=$2
    shift 2
    if ! { cmake -S "$ROOT" -B "$dir" -G Ninja "$@" && cmake --build "$dir" -j "$JOBS"; } >"$dir.build.log" 2>&1; then
        tail -n 60 "$dir.build.log"
        note_fail 1 "$label: build"
        return 1
    fi
    echo "$label: built"
    return 0
}

mkdir -p "$OUT"

# 1. Native suites.
if configure_and_build "$OUT/native" "native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIVO_TESTS=ON -DTRIVO_BENCH=ON; then
    run_ctest "$OUT/native" "native"
fi

# 2. The same suites under AddressSanitizer and UndefinedBehaviorSanitizer.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if configure_and_build "$OUT/sanitize" "sanitizers" -DCMAKE_BUILD_TYPE=Debug -DTRIVO_TESTS=ON -DTRIVO_SANITIZE=ON; then
    run_ctest "$OUT/sanitize" "sanitizers"
fi

# 3. Fuzz targets (clang, libFuzzer, with ASan and UBSan), each for a bounded time from a fresh corpus.
if CC=clang CXX=clang++ configure_and_build "$OUT/fuzz" "fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIVO_FUZZ=ON; then
    for target in lzw_decode_fuzz loader_fuzz pe_resources_fuzz quiz_content_fuzz; do
        corpus="$OUT/fuzz/corpus-$target"
        rm -rf "$corpus" && mkdir -p "$corpus"
        if (cd "$OUT/fuzz" && "./tests/fuzz/$target" "$corpus" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
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

# 4. The MinGW cross build of the same code, and the Windows programs run under Wine. The MinGW tree
# cannot run its own tool, so it packs its quizzes with the native one.
# Test programs of an earlier build must not stand in for ones that no longer build.
rm -f "$OUT"/mingw/tests/win/*_test.exe
if configure_and_build "$OUT/mingw" "mingw" -DCMAKE_BUILD_TYPE=Release -DTRIVO_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DTRIVO_NATIVE_TOOL="$OUT/native/trivo-make"; then
    note_pass 1
    if bash scripts/wine-tests.sh "$OUT/mingw" >"$OUT/wine-tests.log" 2>&1; then
        echo "wine: $(grep -c '^PASS ' "$OUT/wine-tests.log") checks passed"
        note_pass "$(grep -c '^PASS ' "$OUT/wine-tests.log")"
    else
        cat "$OUT/wine-tests.log"
        note_pass "$(grep -c '^PASS ' "$OUT/wine-tests.log")"
        note_fail "$(($(grep -c '^FAIL ' "$OUT/wine-tests.log") + 0))" "wine tests"
        [ "$(grep -c '^FAIL ' "$OUT/wine-tests.log")" -gt 0 ] || note_fail 1 "wine tests: did not finish"
    fi
fi

if [ "${#failures[@]}" -gt 0 ]; then
    echo "failed: ${failures[*]}"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
