# Shared by the Windows checks that drive a window program under Wine on the virtual screen of
# scripts/wine-session.sh, as a user's mouse and keyboard would. The sourcing script defines
# fail. Sourced, not run.

shown_window() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true
}

# The one window whose caption is exactly $1, once it is shown; fails after 60 seconds. With
# "answering-warnings" as $2, each warning box ("Avertissement") on the way is answered by its OK
# button, as the editor warns of a task's deletions before it appears.
wait_for_window() {
    local tries window warning
    for tries in $(seq 600); do
        window="$(shown_window "$1")"
        if [ -n "$window" ]; then
            echo "$window"
            return 0
        fi
        warning="$(shown_window Avertissement)"
        if [ "${2:-}" = answering-warnings ] && [ -n "$warning" ]; then
            sleep 0.5
            # The key goes to the warning only once it has the focus; then the warning is given
            # time to close, so that no further Return reaches the window behind it, where it
            # would press that window's default button.
            if xdotool windowfocus --sync "$warning" 2>/dev/null; then
                xdotool key Return
                wait_for_window_to_go_id "$warning"
            fi
        fi
        sleep 0.1
    done
    fail "no window \"$1\" appeared"
}

wait_for_window_to_go_id() {
    local tries
    for tries in $(seq 30); do
        xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
}

wait_for_window_to_go() {
    local tries
    for tries in $(seq 300); do
        [ -z "$(shown_window "$1")" ] && return 0
        sleep 0.1
    done
    fail "the window \"$1\" stayed"
}

# Sets WIDTH, HEIGHT, X and Y: the window's client area on the screen (Wine leaves the frame
# and the caption to a window manager, so the X window is the client area).
measure() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
}

# A click at a point of the window's client area, as the user's mouse makes it.
click() {
    xdotool mousemove --sync --window "$1" "$2" "$3" click 1
}

# The main window's controls lie on 589 x 385 pixels below its menu bar, which is as high as its
# font makes it. Sets MENU to that height; $1 is the main window.
measure_main_window() {
    measure "$1"
    MENU=$((HEIGHT - 385))
}

click_start_tasks() {
    click "$1" $((469 + 44)) $((MENU + 40 + 12))
}

click_log_viewer_ok() {
    click "$1" $((256 + 60)) $((389 + 12))
}

# Alt+F4 on the main window, as the close box does; fails unless the program (process $2) ends.
close_main_window() {
    local tries
    click "$1" 300 $((MENU + 372))
    xdotool key --clearmodifiers alt+F4
    for tries in $(seq 100); do
        kill -0 "$2" 2>/dev/null || return 0
        sleep 0.1
    done
    fail "the program did not end when its main window closed"
}
