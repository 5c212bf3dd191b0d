# Sourced by the scripts that run Trivo's Windows programs: what this machine runs, a private Wine
# prefix set up for headless runs, and a private Xvfb display when none is given.
#
#   wine_runs ARCH BASE     true when a Windows program of ARCH (win32 or win64) runs here; tried, not
#                           guessed: a tiny program is compiled and started in the prefix under BASE.
#                           When false, WINE_ENV_WHY says why in one line.
#   wine_env_start BASE ARCH  the environment for ARCH's programs (prefix BASE/wineprefix-ARCH, made
#                           once), and an Xvfb when DISPLAY is not set. Exports TRIVO_WINE: start a
#                           program with "$TRIVO_WINE" prog.exe. False, with WINE_ENV_WHY, when Wine
#                           cannot make the prefix.
#   wine_env_stop           stops wineserver and the Xvfb started here; safe to call more than once.
#   wine_arch_of BUILD      win64 for a build made with the x86_64 toolchain file, else win32.
#   wine_compiler ARCH      the MinGW C compiler for ARCH's programs: a test's helpers are built for
#                           the architecture under test.
#
# Debian's wine, wineboot and winepath always start the 32-bit loader when wine32 is installed, so the
# loaders are called directly, and WINELOADER tells Wine's own helpers which one to start again.

WINE_LOADER_WIN32=${WINE_LOADER_WIN32:-/usr/lib/wine/wine}
WINE_LOADER_WIN64=${WINE_LOADER_WIN64:-/usr/lib/wine/wine64}
WINE_ENV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

wine_use() {  # ARCH BASE
    export WINEARCH=$1 WINEPREFIX="$2/wineprefix-$1" WINEDEBUG=-all LANG=C.UTF-8
    # Programs and trivo-make speak English under test, whatever the language of whoever runs them.
    unset LC_ALL LC_MESSAGES LANGUAGE
    # 64-bit programs start through a loader that refuses 32-bit ones, as a machine without wine32
    # does: a 32-bit helper in the 64-bit suite then fails it on every machine.
    if [ "$1" = win64 ]; then
        export WINELOADER=$WINE_LOADER_WIN64 TRIVO_WINE64_LOADER=$WINE_LOADER_WIN64
        TRIVO_WINE=$WINE_ENV_ROOT/scripts/wine64-only.sh
    else
        export WINELOADER=$WINE_LOADER_WIN32
        TRIVO_WINE=$WINE_LOADER_WIN32
    fi
    export TRIVO_WINE
    # Wine reads the ALSA configuration from $HOME: a private home keeps the null sound device ours.
    export HOME="$2/home"
    mkdir -p "$HOME"
    # A null ALSA output gives the media players an audio renderer on machines without sound.
    printf 'pcm.!default { type null }\nctl.!default { type null }\n' >"$HOME/.asoundrc"
    # One X resource that nothing reads. A display with no resources at all (a bare Xvfb; desktop
    # sessions always set some) makes Xlib look for ~/.Xdefaults again on every lookup, and Wine looks
    # one up on nearly every paint, focus change and new window: thousands of failed file opens while
    # a large quiz starts. A display that has resources never reads this file.
    printf '! Read only when the display has no resources of its own.\ntrivo.home: private\n' >"$HOME/.Xdefaults"
}

# wine_failure LOG WHAT: one line saying why Wine failed, from what it wrote into LOG.
wine_failure() {
    if grep -q 'Exec format error' "$1"; then
        echo "the kernel does not start Wine's $WINEARCH loader ($TRIVO_WINE: Exec format error)"
    else
        echo "$2: $(grep -v '^$' "$1" | tail -n 1)"
    fi
}

# Makes the prefix of the current environment unless an earlier run finished it.
wine_prefix_ready() {
    [ -f "$WINEPREFIX/.trivo-ready" ] && return 0
    local log="$WINEPREFIX.log"
    if [ ! -x "$WINELOADER" ]; then
        WINE_ENV_WHY="Wine's $WINEARCH loader $WINELOADER is not installed (Debian package $([ "$WINEARCH" = win64 ] && echo wine64 || echo wine32:i386))"
        return 1
    fi
    # The first prefix made after Wine is installed sometimes fails (kernel32.dll not loaded): once more
    # from scratch before giving up.
    local try
    for try in 1 2; do
        rm -rf "$WINEPREFIX"
        if WINEDLLOVERRIDES="mscoree,mshtml=" "$TRIVO_WINE" wineboot -i >"$log" 2>&1; then break; fi
        WINE_ENV_WHY=$(wine_failure "$log" "Wine could not make a $WINEARCH prefix")
        wineserver -k >/dev/null 2>&1
        [ "$try" -eq 2 ] && return 1
    done
    wineserver -w
    # Debian's wine does not put its own fonts into a new prefix; dialog units depend on them.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    # Unmanaged windows (no window manager on Xvfb: hiding a managed window stalls 2 s), no crash
    # dialog (a crash then ends the process instead of waiting for a click), and the GUI font of
    # Windows: Wine maps "MS Shell Dlg" to the wider Tahoma, which wraps the header's fixed-size
    # labels; Windows draws them in MS Sans Serif.
    cat >"$WINEPREFIX/drive_c/trivo.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="MS Sans Serif"
EOF
    "$TRIVO_WINE" regedit /S 'C:\trivo.reg' >>"$log" 2>&1
    wineserver -w
    touch "$WINEPREFIX/.trivo-ready"
}

wine_runs() {  # ARCH BASE
    local arch=$1 base=$2 compiler code
    compiler=$(wine_compiler "$arch")
    mkdir -p "$base"
    (
        wine_use "$arch" "$base"
        wine_prefix_ready || { echo "$WINE_ENV_WHY" >"$base/why-$arch"; exit 1; }
        if ! "$compiler" -O2 -s -o "$base/probe-$arch.exe" "$WINE_ENV_ROOT/scripts/wine-probe.c" 2>"$base/why-$arch"; then
            echo "the probe does not compile with $compiler: $(head -n 1 "$base/why-$arch")" >"$base/why-$arch"
            exit 1
        fi
        timeout -k 5 60 "$TRIVO_WINE" "$base/probe-$arch.exe" >"$base/probe-$arch.log" 2>&1
        code=$?
        wineserver -k >/dev/null 2>&1
        if [ "$code" -ne 42 ]; then
            wine_failure "$base/probe-$arch.log" "a $arch program did not run under Wine (exit status $code)" >"$base/why-$arch"
            exit 1
        fi
    )
    code=$?
    WINE_ENV_WHY=$(cat "$base/why-$arch" 2>/dev/null)
    rm -f "$base/why-$arch"
    return $code
}

wine_arch_of() {  # BUILD
    if grep -q '^TRIVO_MINGW_ARCH:[A-Z]*=x86_64$' "$1/CMakeCache.txt" 2>/dev/null; then echo win64; else echo win32; fi
}

wine_compiler() {  # ARCH: the MinGW C compiler of ARCH's programs, for the helpers a test builds
    if [ "$1" = win64 ]; then echo x86_64-w64-mingw32-gcc-posix; else echo i686-w64-mingw32-gcc-posix; fi
}

wine_env_start() {  # BASE ARCH
    local base=$1
    wine_use "${2:-win32}" "$base"
    WINE_ENV_XVFB_PID=""
    if [ -z "${DISPLAY:-}" ]; then
        local n
        for n in $(seq 91 140); do
            [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$base/xvfb.log" 2>&1 &
            WINE_ENV_XVFB_PID=$!
            export DISPLAY=":$n"
            break
        done
        local tries=0
        until xdpyinfo >/dev/null 2>&1 || [ $tries -ge 50 ]; do sleep 0.1; tries=$((tries + 1)); done
    fi
    wine_prefix_ready
}

wine_env_stop() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
    if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null
        WINE_ENV_XVFB_PID=""
    fi
    return 0
}
