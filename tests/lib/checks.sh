# Sourced by the shell tests. check NAME EXPECTED ACTUAL prints one PASS or FAIL line and keeps the
# tally in CHECKS_PASSED and CHECKS_FAILED; CHECK_PREFIX, when set, goes before every name.
# checks_count WORD FILE prints how many lines of FILE begin with WORD and a space (PASS, FAIL, SKIP).
CHECKS_PASSED=0
CHECKS_FAILED=0
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "PASS ${CHECK_PREFIX:-}$1"
        CHECKS_PASSED=$((CHECKS_PASSED + 1))
    else
        echo "FAIL ${CHECK_PREFIX:-}$1: expected [$2], got [$3]"
        CHECKS_FAILED=$((CHECKS_FAILED + 1))
    fi
}
checks_count() {  # checks_count WORD FILE
    grep -c "^$1 " "$2" 2>/dev/null
}
