# Sourced by scripts/windows-deps.sh: where each library built for Windows lies in the cache,
# $cache/NAME-VERSION-KEY, VERSION being the Debian source version whose source was fetched (the
# archive may have moved on from the version asked for to a later revision of it) and KEY a hash
# of $compiler and the options. fetch_source (windows-deps.sh) fetches a source the first time.

# The version of SOURCE fetched for VERSION, fetching it first if it never was.
fetched_version() { # source version
  local file=$cache/src/$1-${2#*:}/version
  [ -f "$file" ] || fetch_source "$1" "$2" >&2 || return 1
  cat "$file"
}

# The folder of NAME, built from SOURCE at VERSION (as asked; the folder names the version
# fetched) with the options given; prints it. It holds .built once done.
prefix_for() { # name source version options...
  local name=$1 version key
  version=$(fetched_version "$2" "$3") || return 1
  shift 3
  key=$(printf '%s\n' "$compiler" "$@" | sha256sum | cut -c1-12)
  echo "$cache/$name-${version#*:}-$key"
}
