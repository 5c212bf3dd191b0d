# Sourced by the scripts that run Trivo's Windows programs: a private Wine prefix set up for headless
# runs, and a private Xvfb display when none is given. Call wine_env_start, then wine_env_stop.

wine_env_start() {
    local base=$1
    export WINEPREFIX="$base/wineprefix"
    export WINEDEBUG=-all
    export WINEARCH=win32
    export LANG=C.UTF-8
    # Wine reads the ALSA configuration from $HOME: a private home keeps the null sound device ours.
    export HOME="$base/home"
    mkdir -p "$HOME"
    # A null ALSA output gives the media players an audio renderer on machines without sound.
    printf 'pcm.!default { type null }\nctl.!default { type null }\n' >"$HOME/.asoundrc"

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

    if [ ! -f "$WINEPREFIX/.trivo-ready" ]; then
        rm -rf "$WINEPREFIX"
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >"$base/wineboot.log" 2>&1
        wineserver -w
        # Debian's wine does not put its own fonts into a new prefix; dialog units depend on them.
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
        # Unmanaged windows (no window manager on Xvfb: hiding a managed window stalls 2 s), no crash
        # dialog (a crash then ends the process instead of waiting for a click), and the GUI font of
        # Windows: Wine maps "MS Shell Dlg" to the wider Tahoma, which wraps the header's fixed-size
        # labels; Windows draws them in MS Sans Serif.
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\n"MS Shell Dlg"="MS Sans Serif"\n' >"$WINEPREFIX/trivo.reg"
        wine regedit /S "$(winepath -w "$WINEPREFIX/trivo.reg")" >>"$base/wineboot.log" 2>&1
        wineserver -w
        touch "$WINEPREFIX/.trivo-ready"
    fi
}

wine_env_stop() {
    wineserver -k >/dev/null 2>&1
    if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null
    fi
}
