# Sourced by the scripts that run Wine (or start what runs it): Wine takes the encoding of Unix
# file names from the locale, and with none set, as on a minimal system, that is ASCII, so that a
# folder named in Chinese cannot be made. Where no locale is set, C.UTF-8 (always there) is.
if [ -z "${LC_ALL:-}${LC_CTYPE:-}${LANG:-}" ]; then
  export LANG=C.UTF-8
fi
