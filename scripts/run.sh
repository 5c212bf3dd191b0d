#!/usr/bin/env bash
# Builds the player and a sample quiz and starts it under Wine: on your display when DISPLAY is set,
# otherwise on a private Xvfb, where a screenshot is saved and its path printed. It starts the 32-bit
# program (the product) where this machine runs 32-bit Windows programs, and the 64-bit build of the
# same program where it does not.
# Usage: run.sh [drapeaux|capitales|animaux|formes]   (default: drapeaux, the picture quiz)
#        run.sh web [SAMPLE]   the sample as a web page: opened in Chromium on your display, or
#                              without one shot by headless Chromium, the screenshot's path printed
set -u
cd "$(dirname "$0")/.."
ROOT=$PWD
NAME=${1:-drapeaux}
WEB=0
if [ "$NAME" = web ]; then
    WEB=1
    NAME=${2:-drapeaux}
fi
if [ ! -f "examples/$NAME/quiz.toml" ]; then
    echo "run.sh: no sample quiz \"$NAME\"; choose one of: $(cd examples && ls -d */ | tr -d / | xargs)" >&2
    exit 2
fi
bash scripts/setup.sh || { echo "run.sh: installing the packages failed" >&2; exit 1; }
OUT=$ROOT/build
PLAY="$OUT/play"
JOBS=$(nproc 2>/dev/null || echo 2)
mkdir -p "$PLAY"

# build PRESET DIR TARGETS...: configure DIR with a preset of CMakePresets.json and build the targets,
# showing the log only when it fails.
build() {
    local preset=$1 dir=$2 log="$2.run-build.log"
    shift 2
    if ! { cmake --preset "$preset" -B "$dir" && cmake --build "$dir" --target "$@" -j "$JOBS"; } >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        echo "run.sh: the build in $dir failed (log: $log)" >&2
        exit 1
    fi
}

# The same presets and trees as the test command, so the two share their builds.
build native "$OUT/native" trivo-make

if [ "$WEB" -eq 1 ]; then
    PAGE="$PLAY/$NAME.html"
    "$OUT/native/trivo-make" build "examples/$NAME" -o "$PAGE" || exit 1
    # As this machine runs Chromium (its background connections would only be refused), in a profile
    # of its own.
    PROFILE=$(mktemp -d "${TMPDIR:-/tmp}/trivo-chromium.XXXXXX") || exit 1
    trap 'rm -rf "$PROFILE"' EXIT
    FLAGS=(--no-first-run --disable-background-networking --disable-component-update --disable-sync
        --disable-quic "--user-data-dir=$PROFILE")
    [ "$(id -u)" -ne 0 ] || FLAGS+=(--no-sandbox)
    if [ -n "${DISPLAY:-}" ]; then
        echo "Opening the page $PAGE in Chromium on $DISPLAY; close the browser to end."
        chromium "${FLAGS[@]}" "file://$PAGE" >"$PLAY/chromium.log" 2>&1
    else
        # The page draws itself once its module is instantiated: a few seconds of virtual time for that.
        chromium "${FLAGS[@]}" --headless --disable-gpu --hide-scrollbars --window-size=910,700 \
            --virtual-time-budget=5000 "--screenshot=$PLAY/$NAME-web.png" "file://$PAGE" >"$PLAY/chromium.log" 2>&1 ||
            { tail -n 5 "$PLAY/chromium.log" >&2; echo "run.sh: headless Chromium failed (log: $PLAY/chromium.log)" >&2; exit 1; }
        echo "No display: the sample page $NAME was shot by headless Chromium. Screenshot: $PLAY/$NAME-web.png"
    fi
    exit 0
fi

. scripts/wine-env.sh
# Xvfb and wineserver are stopped on every way out, also when the run fails or is interrupted.
trap wine_env_stop EXIT
trap 'exit 130' INT TERM HUP
if wine_runs win32 "$PLAY"; then
    ARCH=win32 TREE="$OUT/mingw" PRESET=mingw-i686
else
    why32=$WINE_ENV_WHY
    if ! wine_runs win64 "$PLAY"; then
        echo "run.sh: Wine cannot start Windows programs on this machine." >&2
        echo "  32-bit: $why32" >&2
        echo "  64-bit: $WINE_ENV_WHY" >&2
        echo "  Check that Debian's wine, wine64 and wine32:i386 packages are installed (bash scripts/setup.sh does it)" >&2
        echo "  and that programs can run from $PLAY (not a noexec mount)." >&2
        exit 1
    fi
    echo "This machine cannot run 32-bit Windows programs ($why32): starting the 64-bit build of the sample."
    ARCH=win64 TREE="$OUT/mingw64" PRESET=mingw-x86_64
fi
# The preset packs the sample with the native build's trivo-make, built above.
build "$PRESET" "$TREE" trivo "$NAME"
QUIZ="$TREE/examples/$NAME.exe"

had_display=${DISPLAY:-}
if ! wine_env_start "$PLAY" "$ARCH"; then
    echo "run.sh: $WINE_ENV_WHY" >&2
    exit 1
fi
# The answers file is written in the current directory: play from a folder of our own.
cd "$PLAY"
if [ -n "$had_display" ]; then
    echo "Starting the sample quiz $NAME on $DISPLAY; close its window to end."
    "$TRIVO_WINE" "$QUIZ" >"$PLAY/wine.log" 2>&1
else
    "$TRIVO_WINE" "$QUIZ" >"$PLAY/wine.log" 2>&1 &
    # Wait for the window (its title is the quiz's title), then give it a moment to paint.
    TITLE=$(sed -nE 's/^title = "(.*)"$/\1/p' "$ROOT/examples/$NAME/quiz.toml" | head -n 1)
    shown=0
    for _ in $(seq 1 150); do
        if xdotool search --name "$TITLE" >/dev/null 2>&1; then shown=1; break; fi
        sleep 0.2
    done
    sleep 2
    import -window root "$PLAY/screenshot.png"
    if [ "$shown" -eq 0 ]; then
        echo "run.sh: the quiz window did not appear within 30 s; Wine's output is in $PLAY/wine.log" >&2
        exit 1
    fi
    echo "No display: the sample quiz $NAME ran on a private Xvfb. Screenshot: $PLAY/screenshot.png"
fi
