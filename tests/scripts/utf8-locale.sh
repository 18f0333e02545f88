#!/usr/bin/env bash
# The scripts that run Wine set a UTF-8 locale where none is set, and keep one that is; each
# script that starts Wine, or a script that does, sources the rule.
# Usage: tests/scripts/utf8-locale.sh REPOSITORY
set -euo pipefail
repository=$1
fail() { echo "utf8-locale.sh: $*" >&2; exit 1; }
locale_after() { # env arguments...
  env -u LANG -u LC_ALL -u LC_CTYPE -u LANGUAGE "$@" bash -c '. "$0"; echo "${LC_ALL:-}|${LC_CTYPE:-}|${LANG:-}"' \
    "$repository/scripts/lib/utf8-locale.sh"
}
[ "$(locale_after)" = "||C.UTF-8" ] || fail "no locale: $(locale_after)"
[ "$(locale_after LANG=zh_CN.UTF-8)" = "||zh_CN.UTF-8" ] || fail "a locale set is not kept"
[ "$(locale_after LC_ALL=C.UTF-8)" = "C.UTF-8||" ] || fail "LC_ALL is not kept"
for script in scripts/setup.sh scripts/test.sh scripts/package.sh scripts/check-zip.sh scripts/windows-session.sh \
              scripts/lib/wine-prefix.sh; do
  grep -q '^\. .*utf8-locale\.sh"\?$' "$repository/$script" || fail "$script does not set the locale"
done
# And no other script starts Wine.
for script in "$repository"/scripts/*.sh "$repository"/scripts/lib/*.sh; do
  case $script in */utf8-locale.sh) continue ;; esac
  if grep -q 'wine64\|wineserver\|wineboot' "$script" && ! grep -q 'utf8-locale\.sh' "$script"; then
    fail "${script#"$repository"/} runs Wine without setting the locale"
  fi
done
echo "utf8-locale.sh: C.UTF-8 where no locale is set, in every script that runs Wine"
