#!/usr/bin/env bash
# Checks a .deb of Recwright before it can be handed out: its files, its licence (the GPL,
# version 3 or later, in its copyright file), its dependencies (each a package this Debian has),
# and the programs unpacked into a fresh root, where every library they need is found and
# recwright-cli reads the samples.
# Usage: scripts/check-deb.sh FILE.deb
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$1
fail() { echo "check-deb.sh: $*" >&2; exit 1; }

[ "$(dpkg-deb -f "$deb" Package)" = recwright ] || fail "the package is not called recwright"
files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/recwright ./usr/bin/recwright-cli ./usr/share/applications/recwright.desktop \
            ./usr/share/icons/hicolor/16x16/apps/recwright.png ./usr/share/icons/hicolor/32x32/apps/recwright.png \
            ./usr/share/doc/recwright/README.md ./usr/share/doc/recwright/copyright; do
  grep -qx -- "$path" <<<"$files" || fail "$path is missing"
done

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 libqt6svg6 qt6-qpa-plugins; do
  grep -q "\b$needed\b" <<<"$depends" || fail "Depends does not name $needed: $depends"
done
# Each dependency (the first of alternatives) is a package of this system's Debian.
while read -r name; do
  apt-cache show "$name" >/dev/null 2>&1 || dpkg-query -W "$name" >/dev/null 2>&1 || fail "no package $name"
done < <(tr ',' '\n' <<<"$depends" | sed -e 's/|.*//' -e 's/(.*)//' -e 's/[[:space:]]//g' | grep -v '^$')

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for program in recwright recwright-cli; do
  missing=$(ldd "$root/usr/bin/$program" | grep 'not found' || true)
  [ -z "$missing" ] || fail "$program needs what is not there: $missing"
done
copyright=$root/usr/share/doc/recwright/copyright
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" &&
  grep -qx 'License: GPL-3+' "$copyright" && grep -q '/usr/share/common-licenses/GPL-3' "$copyright" ||
  fail "the copyright file does not give the licence, GPL-3+"
"$root/usr/bin/recwright-cli" info samples/stditem.dat samples/magic.dat samples/monster.dat >/dev/null ||
  fail "the packaged recwright-cli cannot read the samples"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/recwright.desktop"
fi
echo "check-deb.sh: $(basename "$deb"): files, licence (GPL-3+), dependencies ($depends) and programs as they should be"
