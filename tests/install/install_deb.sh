#!/usr/bin/env bash
# install_deb.sh BUILD_DIR: builds the Debian package with CPack and checks its fields and
# files; then, as root on a machine without the package, installs it with apt-get, starts
# the installed launcher under a private Xvfb as a player would (answer No, SPACE, ESC, F1
# on the pause screen), checks that the best score landed in the per-user folder and the
# game exited with 0, and removes the package again. Exit code 77: the install part was
# skipped (the reason is printed).
set -u
build=$1
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../tools/xsession.sh"
tmp=$(mktemp -d)
installed=0
cleanup() {
    xs_stop
    if [ $installed -eq 1 ]; then
        apt-get -o DPkg::Lock::Timeout=600 remove -y -q sphere-snake >"$tmp/remove.log" 2>&1 \
            || { echo "FAIL: apt-get remove sphere-snake"; cat "$tmp/remove.log"; }
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
trap "exit 1" INT TERM
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "FAIL: cpack -G DEB"
    exit 1
fi
deb=$(ls "$tmp"/pkg/sphere-snake_*_"$(dpkg --print-architecture)".deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { ls -R "$tmp/pkg"; echo "FAIL: no sphere-snake_<version>_<arch>.deb"; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

[ "$(dpkg-deb -f "$deb" Package)" = sphere-snake ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The package names, first alternative of each entry, versions dropped.
echo "$depends" | tr ',' '\n' | awk '{ print $1 }' | sort -u >"$tmp/depends.txt"
for p in libsdl2-2.0-0 libgl1 libglu1-mesa libfreetype6 libfontconfig1 fonts-liberation xfonts-base \
         libc6 libstdc++6; do
    grep -qxF "$p" "$tmp/depends.txt" || fail "Depends lacks $p"
done

# The package's files are the install tree's.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's#^\./##' | LC_ALL=C sort >"$tmp/files.txt"
LC_ALL=C sort "$here/expected_tree.txt" >"$tmp/expected.txt"
diff -u "$tmp/expected.txt" "$tmp/files.txt" || fail "package files differ from expected_tree.txt"
[ $failures -eq 0 ] || exit 1

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: installing the package needs root (the CI machine runs as root); package checks passed"
    exit 77
fi
if dpkg-query -W -f='${Status}' sphere-snake 2>/dev/null | grep -q 'installed'; then
    echo "SKIP: a sphere-snake package is installed already; not replacing it"
    exit 77
fi

installed=1
if ! DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -q \
        --no-install-recommends "$deb" >"$tmp/apt.log" 2>&1; then
    cat "$tmp/apt.log"
    echo "FAIL: apt-get install $deb"
    exit 1
fi
for f in /usr/bin/sphere-snake /usr/bin/sphere-snake-launcher \
         /usr/share/applications/io.github.spheresnake.SphereSnake.desktop; do
    [ -e "$f" ] || fail "$f missing after installing"
done

xs_start 1024x768x24 || exit 1
mkdir -p "$tmp/home" "$tmp/cwd"

# Plays one short game: answer No, SPACE starts at Easy, ESC pauses, F1 saves and quits.
# Runs the command given in the folder $tmp/cwd; sets rc to its exit code.
play_and_quit() {
    (cd "$tmp/cwd" && exec env HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" \
        XDG_CACHE_HOME="$tmp/cache" "$@") >"$tmp/game.log" 2>&1 &
    local pid=$!
    rc=-1
    if xs_answer_no && win=$(xs_wait_window 'Sphere Snake'); then
        xs_focus "$win"
        sleep 0.5
        xs_tap space 200
        sleep 0.5
        xs_tap Escape 200
        sleep 0.5
        xs_tap F1 200
    else
        fail "$*: the start-up question or the game window did not appear"
    fi
    # Under a loaded software renderer a frame can outlast a tap, and a lost ESC leaves F1
    # without effect: ask again (ESC and F1 from a running game, '2' from a death screen,
    # both of which save and quit) until the game ends, for 30 s at most.
    local i
    for i in $(seq 1 300); do
        kill -0 $pid 2>/dev/null || break
        if [ $((i % 30)) -eq 0 ]; then
            xs_tap Escape 200
            xs_tap F1 200
            xs_tap 2 200
        fi
        sleep 0.1
    done
    if kill -0 $pid 2>/dev/null; then
        fail "$*: still running 30 s after F1"
        kill $pid
    fi
    wait $pid
    rc=$?
    [ $rc -eq 0 ] || { fail "$*: exit code $rc"; cat "$tmp/game.log"; }
}

score_file_ok() {
    [ -f "$1" ] && grep -Eqx -- '-?[0-9]+' "$1"
}

# From the menu's launcher: the score goes to the per-user folder, not the working folder.
play_and_quit /usr/bin/sphere-snake-launcher
score_file_ok "$tmp/data/sphere-snake/Highscore.hsc" \
    || fail "launcher: no score file in \$XDG_DATA_HOME/sphere-snake"
[ ! -e "$tmp/cwd/Highscore.hsc" ] || fail "launcher: score file written in the caller's folder"

# The program started directly keeps its working folder.
rm -rf "$tmp/data"
play_and_quit /usr/bin/sphere-snake
score_file_ok "$tmp/cwd/Highscore.hsc" || fail "program: no score file in its working folder"
[ ! -e "$tmp/data/sphere-snake" ] || fail "program: wrote into the per-user folder"

[ $failures -eq 0 ] || exit 1
echo "package installed, played and removed OK"
