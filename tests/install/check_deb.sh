#!/usr/bin/env bash
# Builds the Debian package with scripts/package (its own Release build folder) and checks its
# control fields, its file list, the stripped binary, lintian (no error or warning), and that apt
# could install it.
# Usage: check_deb.sh PROJECT_VERSION
set -uo pipefail
version=$1
root=$(cd "$(dirname "$0")/../.." && pwd)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

deb=$("$root/scripts/package" 2>"$scratch/package.log") || {
  cat "$scratch/package.log"
  echo "FAIL: scripts/package"
  exit 1
}
[ "$(basename "$deb")" = "mirvanes_${version}_$(dpkg --print-architecture).deb" ] || fail "package file is $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = mirvanes ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
field Maintainer | grep -Eq '^[^<]+ <[^@>]+@[^>]+>$' || fail "Maintainer: $(field Maintainer)"
# dpkg-shlibdeps found the game library, with a version bound.
field Depends | grep -Eq '(^|, )liballegro4\.4 \(>= [^)]+\)' || fail "Depends: $(field Depends)"
[ "$(field Description | head -1)" = "turn-based duel of seasonal wizards" ] || fail "summary: $(field Description | head -1)"
[ "$(field Description | wc -l)" -gt 1 ] || fail "no extended description"

dpkg-deb -c "$deb" | awk '{print $1, $2, $6}' >"$scratch/list"
expect() {  # mode, path
  grep -qxe "$1 root/root ./$2" "$scratch/list" || fail "not in the package as $1 root/root: $2"
}
expect -rwxr-xr-x usr/games/mirvanes
expect -rwxr-xr-x usr/lib/games/mirvanes/mirvanes
expect -rw-r--r-- usr/share/applications/invalid.mirvanes.mirvanes.desktop
expect -rw-r--r-- usr/share/metainfo/invalid.mirvanes.mirvanes.metainfo.xml
expect -rw-r--r-- usr/share/icons/hicolor/48x48/apps/mirvanes.png
expect -rw-r--r-- usr/share/icons/hicolor/64x64/apps/mirvanes.png
expect -rw-r--r-- usr/share/icons/hicolor/scalable/apps/mirvanes.svg
expect -rw-r--r-- usr/share/man/man6/mirvanes.6.gz
expect -rw-r--r-- usr/share/doc/mirvanes/copyright
expect -rw-r--r-- usr/share/doc/mirvanes/changelog.gz
grep -E '^d' "$scratch/list" | grep -v '^drwxr-xr-x root/root ' && fail "directories above are not 0755 root/root"
grep -q ' \./usr/bin/' "$scratch/list" && fail "the package puts something in /usr/bin"

dpkg-deb -x "$deb" "$scratch/x"
readelf -S "$scratch/x/usr/lib/games/mirvanes/mirvanes" | grep -Eq '\.(symtab|debug_)' && fail "the binary is not stripped"

lintian --fail-on error,warning "$deb" >"$scratch/lintian.txt" 2>&1 || fail "lintian: $(cat "$scratch/lintian.txt")"
apt-get install --simulate --no-install-recommends "$deb" >"$scratch/apt.txt" 2>&1 ||
  fail "apt could not install it: $(cat "$scratch/apt.txt")"

if [ "$failures" -ne 0 ]; then
  echo "deb_package: $failures check(s) failed"
  exit 1
fi
echo "deb_package: all checks passed ($deb)"
