# xsession.sh: bash functions to run the game under a private X server and press its keys.
# Sourced by tools/screenshots.sh and the install tests; needs Xvfb and xdotool.
#
#   xs_start WxHxD        start Xvfb on a free display number, export DISPLAY
#   xs_stop               end that server
#   xs_wait_window TITLE  wait (up to 30 s) for a visible window titled exactly TITLE; prints its id
#   xs_focus ID           give the keyboard focus to window ID (there is no window manager)
#   xs_tap KEY [MS]       press and release KEY (an X keysym name), held MS milliseconds (50)
#   xs_answer_no          answer the game's start-up question with Escape (No: windowed)

xs_pid=""
xs_dir=""

xs_start() {
    xs_dir=$(mktemp -d "${TMPDIR:-/tmp}/xsession.XXXXXX")
    # -displayfd: the server picks a free display and writes its number once it accepts clients.
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$xs_dir/display" 2>"$xs_dir/log" &
    xs_pid=$!
    local i
    for i in $(seq 1 100); do
        if grep -q '^[0-9]' "$xs_dir/display" 2>/dev/null; then
            export DISPLAY=":$(head -n 1 "$xs_dir/display")"
            return 0
        fi
        kill -0 "$xs_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not start:" >&2
    cat "$xs_dir/log" >&2
    return 1
}

xs_stop() {
    if [ -n "$xs_pid" ]; then
        kill "$xs_pid" 2>/dev/null
        wait "$xs_pid" 2>/dev/null
        xs_pid=""
    fi
    [ -z "$xs_dir" ] || rm -rf "$xs_dir"
    xs_dir=""
}

xs_wait_window() {
    # xdotool's --name search misses titles stored as UTF8_STRING (SDL's), so compare each
    # visible window's title as getwindowname reads it.
    local i w
    for i in $(seq 1 300); do
        for w in $(xdotool search --onlyvisible --class '' 2>/dev/null); do
            if [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ]; then
                echo "$w"
                return 0
            fi
        done
        sleep 0.1
    done
    echo "no window named \"$1\" appeared within 30 s" >&2
    return 1
}

xs_focus() {
    xdotool windowfocus --sync "$1"
}

xs_tap() {
    local ms=${2:-50}
    xdotool keydown "$1"
    sleep "$((ms / 1000)).$(printf '%03d' $((ms % 1000)))"
    xdotool keyup "$1"
}

xs_answer_no() {
    local box
    box=$(xs_wait_window 'Start FullScreen?') || return 1
    xs_focus "$box"
    xs_tap Escape 100
}
