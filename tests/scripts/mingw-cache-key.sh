#!/usr/bin/env bash
# The Windows build's cache names a library's folder by the version of the source fetched, not
# the one asked for: the archive may have only a later revision (expat 2.5.0-1+deb12u1 asked,
# deb12u2 fetched). A source fetched before is not fetched again to learn its version.
# Usage: tests/scripts/mingw-cache-key.sh REPOSITORY
set -euo pipefail
. "$1/scripts/lib/mingw-cache.sh"
cache=$(mktemp -d)
trap 'rm -rf "$cache"' EXIT
compiler=12-win32
fail() { echo "mingw-cache-key.sh: $*" >&2; exit 1; }

# Stands in for the fetch: the archive has moved on to deb12u2. A second fetch is a fault.
fetch_source() { # name version
  local dir=$cache/src/$1-${2#*:}
  [ ! -e "$dir" ] || fail "$1 $2 fetched again"
  mkdir -p "$dir"
  echo "${2%+deb12u1}+deb12u2" >"$dir/version"
}

for run in first again; do
  folder=$(prefix_for expat expat 2.5.0-1+deb12u1 -DEXPAT_DTD=OFF)
  case $folder in
    "$cache"/expat-2.5.0-1+deb12u2-????????????) ;;
    *) fail "$run: the folder is $folder" ;;
  esac
done
[ "$(prefix_for expat expat 2.5.0-1+deb12u1 -DEXPAT_DTD=OFF)" != "$(prefix_for expat expat 2.5.0-1+deb12u1 -DEXPAT_DTD=ON)" ] ||
  fail "the options do not make another folder"
# Qt's folder is named qt, its source qt6-base; an epoch is no part of a folder's name.
case $(prefix_for qt qt6-base 6.4.2+dfsg-10) in "$cache"/qt-6.4.2+dfsg-10+deb12u2-*) ;; *) fail "Qt's folder" ;; esac
case $(prefix_for zlib zlib 1:1.2.13.dfsg-1) in "$cache"/zlib-1.2.13.dfsg-1+deb12u2-*) ;; *) fail "the epoch counts" ;; esac
# A source that cannot be fetched names no folder.
fetch_source() { return 1; }
if prefix_for libzip libzip 1.7.3-1 >/dev/null 2>&1; then fail "a folder without a source"; fi
echo "mingw-cache-key.sh: folders named by the version fetched"
