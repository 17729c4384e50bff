#!/usr/bin/env bash
# screenshots.sh: remakes the README's two pictures from the real game under a private Xvfb:
#   docs/screenshots/skill-menu.png  the skill menu right after start-up (answered No)
#   docs/screenshots/playing.png     a game in progress at Easy with the yellow bonus apple
# The game runs in a scratch folder (best score 0). Keys go in through xdotool; each picture
# is the game window alone (800 x 600), taken with ImageMagick's import.
# Usage: bash tools/screenshots.sh [BUILD_DIR]   (default: build; built here when needed)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
mkdir -p "$build" && build="$(cd "$build" && pwd)"
out="$root/docs/screenshots"
source "$root/tools/xsession.sh"

cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target sphere-snake -j2 >/dev/null
mkdir -p "$out"

work=$(mktemp -d)
game_pid=""
finish() {
    [ -z "$game_pid" ] || { kill "$game_pid" 2>/dev/null; wait "$game_pid" 2>/dev/null; } || true
    xs_stop
    rm -rf "$work"
}
trap finish EXIT
trap "exit 1" INT TERM

# Microseconds since the epoch.
now_us() { local t=${EPOCHREALTIME/./}; echo $((10#$t)); }

# Sleeps until the moment given in microseconds (at once when it has passed).
sleep_until_us() {
    local left=$(( $1 - $(now_us) ))
    [ $left -le 0 ] || sleep "$((left / 1000000)).$(printf '%06d' $((left % 1000000)))"
}

# Counts the bright yellow pixels of a picture: the lit bonus apple (nothing else is yellow).
yellow_pixels() {
    convert "$1" -fx '(r>0.6 && g>0.6 && b<0.3) ? 1 : 0' -format '%[fx:round(mean*w*h)]' info:
}

# Starts the game in the scratch folder, answers No and waits for its window; sets win.
start_game() {
    (cd "$work" && exec "$build/sphere-snake") >"$work/game.log" 2>&1 &
    game_pid=$!
    xs_answer_no
    win=$(xs_wait_window 'Sphere Snake')
    xs_focus "$win"
}

# Ends the game through its own keys: pause, then F1.
quit_game() {
    xs_tap Escape 150
    sleep 0.3
    xs_tap F1 150
    local i
    for i in $(seq 1 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
    game_pid=""
}

capture() {
    import -window "$win" -strip "$1"
    local size
    size=$(identify -format '%wx%h' "$1")
    [ "$size" = 800x600 ] || { echo "screenshots: $1 is $size, not 800x600" >&2; return 1; }
}

xs_start 1024x768x24

# The skill menu, a moment after start-up so that the frames-per-second figure has settled.
start_game
sleep 1.5
capture "$out/skill-menu.png"
quit_game

# A game in progress. SPACE starts at Easy (a step every 0.25 s, heading up); the snake then
# runs a small square, four steps a side, turning every second: up, right, down, left. The
# bonus apple shows after 10 s of running time for 3 s; the picture is taken at 11.3 s.
# Apples eaten on the way lengthen the snake, so a run that ends on the death screen (no
# yellow in the picture) is tried again. Keys are held 150 ms: under llvmpipe a frame can take
# 80 ms, and a press released before the next frame's update is never seen (keys act by level).
for attempt in 1 2 3; do
    start_game
    sleep 1
    start=$(now_us)
    xs_tap space 150
    turn=0
    for key in Right Down Left Up Right Down Left Up Right Down Left; do
        turn=$((turn + 1))
        sleep_until_us $((start + turn * 1000000))
        xs_tap "$key" 150
    done
    sleep_until_us $((start + 11300000))
    capture "$work/playing.png"
    quit_game
    yellow=$(yellow_pixels "$work/playing.png")
    if [ "$yellow" -gt 20 ]; then
        cp "$work/playing.png" "$out/playing.png"
        echo "screenshots: $out/skill-menu.png, $out/playing.png (bonus apple: $yellow yellow pixels)"
        exit 0
    fi
    echo "screenshots: attempt $attempt showed no bonus apple; trying again" >&2
done
echo "screenshots: no picture with the bonus apple in three attempts" >&2
exit 1
