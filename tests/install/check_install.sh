#!/usr/bin/env bash
# Installs a build into a scratch DESTDIR and checks what a player gets: the layout, the desktop
# entry, metainfo and manual page against the system's validators, and the launcher driving the
# real game on its own Xvfb display.
# Usage: check_install.sh BUILD_DIR INSTALL_PREFIX PROJECT_VERSION
set -uo pipefail
build=$1 prefix=$2 version=$3
id=invalid.mirvanes.mirvanes

scratch=$(mktemp -d)
xvfb=""
game=""
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Runs a validator; any output (or a failed status) counts as a failure.
quiet() {
  local out
  out=$("$@" 2>&1) && [ -z "$out" ] || fail "$* reported: $out"
}

root="$scratch/root"
DESTDIR="$root" cmake --install "$build" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
tree="$root$prefix"

# --- layout
launcher="$tree/games/mirvanes"
binary="$tree/lib/games/mirvanes/mirvanes"
[ -x "$launcher" ] && head -c 9 "$launcher" | grep -qx '#!/bin/sh' || fail "launcher missing or not a shell script"
[ -x "$binary" ] && head -c 4 "$binary" | grep -q 'ELF' || fail "game binary missing or not executable"
[ ! -e "$tree/bin" ] || fail "nothing belongs in bin/: the command is in games/"
for f in "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
  share/icons/hicolor/scalable/apps/mirvanes.svg share/man/man6/mirvanes.6.gz \
  share/doc/mirvanes/copyright share/doc/mirvanes/changelog.gz; do
  [ -f "$tree/$f" ] || fail "$f missing"
done
for size in 48 64; do
  got=$(identify -format '%m %wx%h' "$tree/share/icons/hicolor/${size}x$size/apps/mirvanes.png" 2>&1)
  [ "$got" = "PNG ${size}x$size" ] || fail "${size}x$size icon is '$got'"
done
# A placeholder that configure_file left alone would ship as literal text.
leftover=$(grep -rlI '@[A-Z_]*@' "$tree") && fail "unsubstituted placeholders in: $leftover"

# --- desktop entry, metainfo, manual page, changelog
desktop="$tree/share/applications/$id.desktop"
quiet desktop-file-validate "$desktop"
grep -qx "Exec=$prefix/games/mirvanes" "$desktop" || fail "desktop entry does not start the installed launcher"
grep -qx 'Icon=mirvanes' "$desktop" || fail "desktop entry names another icon"
# The tree check also finds the desktop entry that the metainfo names as its launchable.
appstreamcli validate-tree --no-net "$tree" >"$scratch/as.txt" 2>&1 || fail "appstreamcli: $(cat "$scratch/as.txt")"
grep -q "<release version=\"$version\"" "$tree/share/metainfo/$id.metainfo.xml" ||
  fail "metainfo has no release entry for $version"
zcat "$tree/share/doc/mirvanes/changelog.gz" | head -1 | grep -q "^mirvanes ($version) " ||
  fail "changelog does not start with version $version"
MANWIDTH=80 man --warnings -l "$tree/share/man/man6/mirvanes.6.gz" >"$scratch/mirvanes.txt" 2>"$scratch/man.txt"
[ -s "$scratch/mirvanes.txt" ] && [ ! -s "$scratch/man.txt" ] || fail "man: $(cat "$scratch/man.txt")"
zcat "$tree/share/man/man6/mirvanes.6.gz" >"$scratch/mirvanes.6"
quiet groff -man -ww -z "$scratch/mirvanes.6"

# --- the launcher with the real game on a display of its own
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 640x480x16 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$scratch/display")"

pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -1; }
# Waits (up to 30 s) until the pixel at x, y turns pure red: the main menu's selection frame.
waitRed() {
  for _ in $(seq 150); do
    pixel "$1" "$2" | grep -q '#FF0000' && return 0
    kill -0 "$game" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}
press() { xdotool keydown "$1" && sleep 0.1 && xdotool keyup "$1"; }
# Waits (up to 30 s) for the game to end and gives its exit status, or 124 if it keeps running.
finish() {
  for _ in $(seq 150); do kill -0 "$game" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$game" 2>/dev/null && return 124
  wait "$game"
}

home="$scratch/home"
mkdir -p "$home" "$scratch/elsewhere"
(cd "$scratch/elsewhere" && exec env -u XDG_DATA_HOME HOME="$home" "$launcher" >"$scratch/game.log" 2>&1) &
game=$!
if waitRed 100 370; then
  data="$home/.local/share/mirvanes"
  # The launcher execs, so its process is the game itself, running inside the data directory.
  [ "$(readlink "/proc/$game/exe")" = "$(readlink -f "$binary")" ] || fail "launcher did not exec the game"
  [ "$(readlink "/proc/$game/cwd")" = "$data" ] || fail "game runs in $(readlink "/proc/$game/cwd"), not $data"
  press Right
  waitRed 340 370 || fail "Right did not frame \"End game\""
  press Return
  finish
  status=$?
  game=""
  [ "$status" -eq 0 ] || fail "quitting from the main menu gave status $status"
else
  fail "main menu did not appear: $(grep -v '^ALSA' "$scratch/game.log")"
fi

# A fatal error in the game itself: with no display the library cannot start, and the game reports
# that (on standard output when there is no display for a message box) and ends with status 1.
home="$scratch/home-fatal"
mkdir -p "$home"
ln -s "$launcher" "$scratch/mirvanes-link"
fatal() {  # XDG_DATA_HOME value; runs the launcher through a symlink from another directory
  (cd "$scratch/elsewhere" &&
    timeout 30 env -u DISPLAY HOME="$home" XDG_DATA_HOME="$1" "$scratch/mirvanes-link" >"$scratch/fatal.out" 2>&1)
}
fatal "$scratch/xdg"
status=$?
[ "$status" -eq 1 ] || fail "a fatal error gave status $status"
grep -q "^Error000: " "$scratch/fatal.out" || fail "no Error000 report: $(cat "$scratch/fatal.out")"
[ -d "$scratch/xdg/mirvanes" ] || fail "XDG_DATA_HOME/mirvanes was not made"
fatal relative
status=$?
[ "$status" -eq 1 ] || fail "a fatal error with a relative XDG_DATA_HOME gave status $status"
[ -d "$home/.local/share/mirvanes" ] || fail "a relative XDG_DATA_HOME was not ignored"
[ ! -e "$scratch/elsewhere/relative" ] || fail "a relative XDG_DATA_HOME was used"

# A data directory that cannot be made stops the launcher before the game starts.
touch "$scratch/plainfile"
fatal "$scratch/plainfile"
status=$?
[ "$status" -ne 0 ] || fail "an impossible data directory gave status 0"
grep -q 'Error' "$scratch/fatal.out" && fail "the game started without its data directory"

if [ "$failures" -ne 0 ]; then
  echo "install_layout: $failures check(s) failed"
  exit 1
fi
echo "install_layout: all checks passed"
