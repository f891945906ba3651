# Shared by the Windows scripts: a display and a Wine prefix of the run's own, so that neither the
# user's screen nor the user's prefix is ever touched. Sourced, not run.

session_pids=()
end_session() {
    wineserver -k 2>/dev/null || true
    local pid
    for pid in "${session_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
}
trap end_session EXIT

# Starts a virtual screen on the first free display number and exports DISPLAY.
start_virtual_display() {
    local number
    for number in $(seq 90 140); do
        [ -e "/tmp/.X$number-lock" ] && continue
        Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        session_pids+=($!)
        local tries
        for tries in $(seq 50); do
            if xdpyinfo -display ":$number" >/dev/null 2>&1; then
                export DISPLAY=":$number"
                return 0
            fi
            sleep 0.1
        done
        kill "${session_pids[-1]}" 2>/dev/null || true
    done
    echo "no virtual display could be started" >&2
    return 1
}

# Sets up the prefix in $1 (once) and starts one Wine server for the rest of the calling script.
start_wine_prefix() {
    export WINEPREFIX="$1"
    export WINEDEBUG=-all
    # Without Mono and Gecko Wine asks nothing while it sets the prefix up.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 </dev/null
        wineserver -w
    fi
    # One server for the whole run instead of one per program. Wine's own services start with the
    # first program and inherit its output: started here on /dev/null, they hold no test's output
    # open, which would keep the test from ending in ctest's eyes.
    wineserver -p
    wineboot >/dev/null 2>&1 </dev/null
    # Windows shows the programs' font as a sans-serif face; Wine has none of that name and would
    # fall back to a serif one. DejaVu Sans is the face the Linux build shows.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
        /v 'MS Sans Serif' /t REG_SZ /d 'DejaVu Sans' /f >/dev/null 2>&1 </dev/null
}
