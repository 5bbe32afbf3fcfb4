#!/usr/bin/env bash
# What a player and a distribution get, against the system's validators.
# Usage: check.sh install BUILD_DIR PREFIX VERSION   (the installed tree and its launcher)
#        check.sh deb VERSION                        (the package that scripts/package builds)
#        check.sh readme SOURCE_DIR                  (README's "Adding a test", followed in a scratch copy)
set -uo pipefail
id=invalid.mirvanes.mirvanes
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [ "$1" = install ]; then
  prefix=$3 version=$4
  DESTDIR="$scratch/root" cmake --install "$2" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
  tree="$scratch/root$prefix"
  for f in share/icons/hicolor/{48x48,64x64}/apps/mirvanes.png share/icons/hicolor/scalable/apps/mirvanes.svg \
    share/doc/mirvanes/copyright; do  # the files that no check below opens
    [ -f "$tree/$f" ] || fail "$f missing"
  done
  grep -rlI '@[A-Z_]*@' "$tree" && fail "placeholders left in the installed files"
  out=$(desktop-file-validate "$tree/share/applications/$id.desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
  grep -qx "Exec=$prefix/games/mirvanes --fullscreen" "$tree/share/applications/$id.desktop" ||
    fail "Exec is not the launcher in full screen"
  appstreamcli validate-tree --no-net "$tree" >"$scratch/as" 2>&1 || fail "appstreamcli: $(cat "$scratch/as")"
  grep -q "<release version=\"$version\"" "$tree/share/metainfo/$id.metainfo.xml" || fail "no metainfo release $version"
  zcat "$tree/share/doc/mirvanes/changelog.gz" | head -1 | grep -q "^mirvanes ($version) " || fail "changelog version"
  MANWIDTH=80 man --warnings -l "$tree/share/man/man6/mirvanes.6.gz" 2>"$scratch/man" >/dev/null
  [ ! -s "$scratch/man" ] || fail "man: $(cat "$scratch/man")"
  # Started through a link from elsewhere with no display, the launcher makes the data directory
  # (ignoring a relative XDG_DATA_HOME) and the game itself reports that it found no display.
  ln -s "$tree/games/mirvanes" "$scratch/link"
  mkdir "$scratch/home"
  for xdg in "$scratch/xdg" relative; do
    (cd "$scratch" && timeout 30 env -u DISPLAY HOME="$scratch/home" XDG_DATA_HOME=$xdg ./link >"$scratch/out" 2>&1)
    status=$?
    [ $status -eq 1 ] && grep -q '^Error000: ' "$scratch/out" || fail "XDG_DATA_HOME=$xdg: status $status, $(cat "$scratch/out")"
  done
  [ -d "$scratch/xdg/mirvanes" ] && [ -d "$scratch/home/.local/share/mirvanes" ] || fail "data directories not made"
  [ ! -e "$scratch/relative" ] || fail "a relative XDG_DATA_HOME was used"
  # With no absolute HOME or XDG_DATA_HOME, or a data directory that cannot be made, the launcher makes nothing and
  # the game shows why: on a display with no xmessage to show it in, on its standard error.
  mkdir "$scratch/bin" && touch "$scratch/file"
  for tool in sh dirname readlink mkdir; do ln -s "$(command -v $tool)" "$scratch/bin/"; done
  rootLocal=$(ls -d /.local 2>/dev/null)
  timeout 120 Xvfb -displayfd 3 -screen 0 640x480x16 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
  xvfb=$!
  while [ ! -s "$scratch/display" ] && kill -0 $xvfb 2>/dev/null; do sleep 0.1; done
  for xdg in "" "$scratch/file/xdg"; do
    out=$(cd "$scratch" && timeout 60 env -u HOME -u XDG_DATA_HOME DISPLAY=":$(cat "$scratch/display")" \
      PATH="$scratch/bin" ${xdg:+XDG_DATA_HOME=$xdg} ./link 2>&1)
    status=$?
    says=$(echo "$out" | grep -x 'Mirvanes cannot keep its highscores.*' | sort -u)
    [ $status -eq 1 ] && [ "$(echo "$says" | wc -l)" -eq 1 ] && [ "$(echo "$out" | grep -cxF "mirvanes: $says")" -eq 1 ] ||
      fail "XDG_DATA_HOME=$xdg without HOME: status $status, $out"
  done
  kill $xvfb
  [ "$(ls -d /.local 2>/dev/null)" = "$rootLocal" ] && [ ! -e "$scratch/.local" ] || fail "a .local was made without HOME"
elif [ "$1" = readme ]; then
  # The example saved under the name the text gives, then the commands run as written, in a copy
  # of the repository without its build folders.
  mkdir "$scratch/copy"
  tar -C "$2" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$scratch/copy" -xf -
  awk -v dir="$scratch" '/^## / { on = /^## Adding a test/ } on && /^    / { print substr($0, 5) > (dir "/block" n + 0); code = 1 }
    on && !/^    / && code { n++; code = 0 }' "$2/README.md"
  name=$(sed -n 's/^Save it as `\([^`]*\)`.*/\1/p' "$2/README.md")
  cp "$scratch/block0" "$scratch/copy/$name" || fail "no example to save as '$name'"
  (cd "$scratch/copy" && bash -e "$scratch/block1") >"$scratch/steps" 2>&1
  grep -q '100% tests passed, 0 tests failed out of 1' "$scratch/steps" || fail "the steps: $(tail -20 "$scratch/steps")"
else
  version=$2
  deb=$("$(dirname "$0")/../../scripts/package" 2>"$scratch/log") || { cat "$scratch/log"; exit 1; }
  [ "$(basename "$deb")" = "mirvanes_${version}_$(dpkg --print-architecture).deb" ] || fail "package file is $deb"
  [ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "Section is not games"
  dpkg-deb -f "$deb" Depends | grep -Eq '(^|, )liballegro4\.4 \(>= [^)]+\)' || fail "Depends: $(dpkg-deb -f "$deb" Depends)"
  # lintian fails on a launcher or binary of another mode or owner, and on a binary not stripped.
  lintian --fail-on error,warning "$deb" >"$scratch/lintian" 2>&1 || fail "lintian: $(cat "$scratch/lintian")"
  # Built again later from files of other times, the package keeps every byte: no time stamp is the build's own.
  cp "$deb" "$scratch/first.deb" && sleep 1 && find "$(dirname "$deb")" -type f -exec touch {} +
  "$(dirname "$0")/../../scripts/package" >/dev/null 2>"$scratch/log" && cmp "$scratch/first.deb" "$deb" ||
    fail "a second build differs: $(cat "$scratch/log")"
  apt-get install --simulate --no-install-recommends "$deb" >"$scratch/apt" 2>&1 || fail "apt: $(cat "$scratch/apt")"
fi
[ $failures -eq 0 ] && echo "$1: all checks passed" || { echo "$1: $failures check(s) failed"; exit 1; }
