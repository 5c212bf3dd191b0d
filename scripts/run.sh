#!/usr/bin/env bash
# Builds the player and a sample quiz and starts it under Wine: on your display when DISPLAY is set,
# otherwise on a private Xvfb, where a screenshot is saved and its path printed.
# Usage: run.sh [drapeaux|capitales|animaux|formes]   (default: drapeaux, the picture quiz)
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
NAME=${1:-drapeaux}
if [ ! -f "examples/$NAME/quiz.toml" ]; then
    echo "run.sh: no sample quiz \"$NAME\"; choose one of: $(cd examples && ls -d */ | tr -d / | xargs)" >&2
    exit 2
fi
bash scripts/setup.sh
OUT=$ROOT/build
JOBS=$(nproc 2>/dev/null || echo 2)
# The same configurations as the test command, so the two share their builds.
cmake -S . -B "$OUT/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIVO_TESTS=ON -DTRIVO_BENCH=ON >/dev/null
cmake --build "$OUT/native" --target trivo-make -j "$JOBS" >/dev/null
cmake -S . -B "$OUT/mingw" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIVO_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DTRIVO_NATIVE_TOOL="$OUT/native/trivo-make" >/dev/null
cmake --build "$OUT/mingw" --target trivo "$NAME" -j "$JOBS" >/dev/null
QUIZ="$OUT/mingw/examples/$NAME.exe"

. scripts/wine-env.sh
PLAY="$OUT/play"
mkdir -p "$PLAY"
had_display=${DISPLAY:-}
wine_env_start "$PLAY"
trap wine_env_stop EXIT
# The answers file is written in the current directory: play from a folder of our own.
cd "$PLAY"
if [ -n "$had_display" ]; then
    echo "Starting the sample quiz $NAME on $DISPLAY; close its window to end."
    wine "$QUIZ" >"$PLAY/wine.log" 2>&1
else
    wine "$QUIZ" >"$PLAY/wine.log" 2>&1 &
    # Wait for the window (its title is the quiz's title), then give it a moment to paint.
    TITLE=$(sed -nE 's/^title = "(.*)"$/\1/p' "$ROOT/examples/$NAME/quiz.toml" | head -n 1)
    for _ in $(seq 1 100); do
        xdotool search --name "$TITLE" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 2
    import -window root "$PLAY/screenshot.png"
    wineserver -k
    echo "No display: the sample quiz $NAME ran on a private Xvfb. Screenshot: $PLAY/screenshot.png"
fi
