#!/usr/bin/env bash
# install_tree.sh BUILD_DIR: installs the built game into a staging folder (DESTDIR, prefix
# /usr) and checks the tree: exactly the expected files, programs executable, icons of their
# folder's size, desktop and AppStream entries valid, manual page clean, and the launcher
# starting the game in the right per-user folder.
set -u
build=$1
here="$(cd "$(dirname "$0")" && pwd)"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

stage=$tmp/stage
if ! DESTDIR=$stage cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log"
    echo "FAIL: cmake --install"
    exit 1
fi

# The tree: the expected files and nothing else.
(cd "$stage" && find . \( -type f -o -type l \) | sed 's#^\./##' | LC_ALL=C sort) >"$tmp/tree.txt"
LC_ALL=C sort "$here/expected_tree.txt" >"$tmp/expected.txt"
diff -u "$tmp/expected.txt" "$tmp/tree.txt" || fail "installed files differ from expected_tree.txt"

for p in usr/bin/sphere-snake usr/bin/sphere-snake-launcher; do
    [ -x "$stage/$p" ] || fail "$p is not executable"
done

for size in 32 48; do
    png=$stage/usr/share/icons/hicolor/${size}x${size}/apps/io.github.spheresnake.SphereSnake.png
    file -b "$png" | grep -q "PNG image data, $size x $size," || fail "icon $png is not a ${size}x${size} PNG"
done

desktop=$stage/usr/share/applications/io.github.spheresnake.SphereSnake.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "desktop entry categories"
grep -qx 'Exec=sphere-snake-launcher' "$desktop" || fail "the desktop entry does not start the launcher"
grep -qx 'Icon=io.github.spheresnake.SphereSnake' "$desktop" || fail "desktop entry icon name"

appstreamcli validate --no-net "$stage/usr/share/metainfo/io.github.spheresnake.SphereSnake.metainfo.xml" \
    || fail "appstreamcli validate"
# The tree as a whole: the metainfo's launchable finds its desktop entry and icon.
appstreamcli validate-tree --no-net "$stage" || fail "appstreamcli validate-tree"

# The manual page formats without warnings; the launcher's page points to the game's.
warnings=$(groff -man -Tutf8 -ww -z "$stage/usr/share/man/man6/sphere-snake.6" 2>&1)
[ -z "$warnings" ] || fail "manual page warnings: $warnings"
grep -qx '.so man6/sphere-snake.6' "$stage/usr/share/man/man6/sphere-snake-launcher.6" \
    || fail "sphere-snake-launcher.6 does not point to sphere-snake.6"

# The launcher, with a stand-in game beside it that records its working folder and exits 3.
bin=$tmp/bin
mkdir -p "$bin" "$tmp/home" "$tmp/elsewhere"
cp "$stage/usr/bin/sphere-snake-launcher" "$bin/"
cat >"$bin/sphere-snake" <<STUB
#!/bin/sh
pwd >"$tmp/ran-in"
exit 3
STUB
chmod +x "$bin/sphere-snake"
ln -s "$bin/sphere-snake-launcher" "$tmp/elsewhere/snake-link"
: >"$tmp/a-file"

# case | how the launcher is started | XDG_DATA_HOME (unset: -) | expected working folder (none: -)
while IFS='|' read -r name how xdg want; do
    rm -f "$tmp/ran-in"
    env_args=(HOME="$tmp/home")
    [ "$xdg" = "-" ] || env_args+=(XDG_DATA_HOME="$xdg")
    (cd "$tmp" && env -u XDG_DATA_HOME "${env_args[@]}" "$how" >"$tmp/out" 2>&1)
    rc=$?
    if [ "$want" = "-" ]; then
        [ $rc -ne 0 ] && [ $rc -ne 3 ] || fail "$name: exit code $rc, expected a failure of the launcher"
        [ ! -e "$tmp/ran-in" ] || fail "$name: the game was started"
        [ -s "$tmp/out" ] || fail "$name: no message"
    else
        [ $rc -eq 3 ] || fail "$name: exit code $rc, expected the game's 3"
        [ "$(cat "$tmp/ran-in" 2>/dev/null)" = "$want" ] \
            || fail "$name: game ran in '$(cat "$tmp/ran-in" 2>/dev/null)', expected '$want'"
    fi
done <<CASES
XDG_DATA_HOME set|$bin/sphere-snake-launcher|$tmp/xdg data|$tmp/xdg data/sphere-snake
XDG_DATA_HOME unset|$bin/sphere-snake-launcher|-|$tmp/home/.local/share/sphere-snake
XDG_DATA_HOME empty|$bin/sphere-snake-launcher||$tmp/home/.local/share/sphere-snake
XDG_DATA_HOME relative|$bin/sphere-snake-launcher|data|$tmp/home/.local/share/sphere-snake
started through a symbolic link|$tmp/elsewhere/snake-link|$tmp/xdg2|$tmp/xdg2/sphere-snake
folder cannot be made|$bin/sphere-snake-launcher|$tmp/a-file|-
CASES

# Without the game beside it the launcher says so and fails.
rm "$bin/sphere-snake"
(cd "$tmp" && HOME="$tmp/home" "$bin/sphere-snake-launcher" >"$tmp/out" 2>&1)
rc=$?
[ $rc -ne 0 ] && grep -q 'not installed' "$tmp/out" || fail "launcher without the game: exit $rc, $(cat "$tmp/out")"

[ $failures -eq 0 ] || exit 1
echo "install tree OK"
