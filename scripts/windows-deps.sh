#!/usr/bin/env bash
# Builds for Windows (MinGW-w64) what the editor and the worksheets need there, from Debian's own
# source packages: Qt (Core, Gui, Widgets, Test as DLLs, with the windows, offscreen platform and
# the style plugins), Qt Charts (a DLL, for the plot dock), and zlib, expat, libzip and
# libxlsxwriter as static libraries. Each goes once
# into its own folder of the cache, outside the clone:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/recwright/mingw/NAME-VERSION-KEY
# where VERSION is the Debian source version fetched (that of the Linux build's -dev package, so
# both builds use the same code, or the archive's later revision of it where it has moved on) and
# KEY a hash of the options, the compiler and what the library is built on (scripts/lib/
# mingw-cache.sh). A change to any of them builds that library again, and what is built on it;
# nothing else. Then it writes mingw-deps.cmake there, which the windows preset's toolchain reads.
# The sources come with apt-get source through a private apt configuration (its own source
# list and lists folder, made from the machine's deb entries): the machine's apt is not touched.
# dpkg-source -x checks the .dsc's checksums while extracting.
# Usage: scripts/windows-deps.sh   (JOBS=n for the build's parallelism; default: all cores)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/lib/packages.sh
. scripts/lib/mingw-cache.sh

ensure_packages dpkg-dev xz-utils g++-mingw-w64-x86-64-posix cmake ninja-build qt6-base-dev qt6-base-dev-tools \
                qt6-charts-dev zlib1g-dev libexpat1-dev libzip-dev libxlsxwriter-dev qt6-translations-l10n perl

cache=${XDG_CACHE_HOME:-$HOME/.cache}/recwright/mingw
mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9 # two builds at once would share the folders
jobs=${JOBS:-$(nproc)}
toolchain=$root/cmake/mingw-w64-x86_64.cmake
compiler=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
say() { echo "windows-deps.sh: $*"; }

# A private apt configuration whose lists hold the sources of the suites the machine installs from.
apt_dir=$cache/apt
private_apt() { apt_with apt-get "$@"; }
apt_with() { # apt-get or apt-cache, arguments...
  local tool=$1
  shift
  "$tool" -o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts="$apt_dir/sources.list.d" \
          -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache" -o Dir::State::status=/var/lib/dpkg/status \
          -o Debug::NoLocking=1 -o APT::Sandbox::User=root "$@"
}
apt_ready=
prepare_apt() {
  [ -z "$apt_ready" ] || return 0
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  rm -f "$apt_dir"/sources.list.d/*
  sed -n 's/^deb\s/deb-src /p' /etc/apt/sources.list 2>/dev/null >"$apt_dir/sources.list" || true
  local f
  for f in /etc/apt/sources.list.d/*.list; do
    [ -e "$f" ] && sed -n 's/^deb\s/deb-src /p' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
  done
  private_apt update -qq
  apt_ready=1
}

# The source package NAME at VERSION, extracted (its checksums checked) into $src. Where the
# archive has moved on to another Debian revision of the same upstream version (a security
# update the machine has not installed yet), the latest of those that can be fetched.
fetch_source() { # name version
  local name=$1 version=$2 dir=$cache/src/$1-${2#*:}
  src=$dir/source
  [ -f "$dir/.extracted" ] && return 0
  prepare_apt
  local candidates v
  candidates=$(apt_with apt-cache showsrc "$name" | sed -n "s/^Version: \\(${version%-*}-.*\\)/\\1/p" |
               grep -vx -- "$version" | sort -u | sort -r -V || true)
  rm -rf "$dir"
  for v in "$version" $candidates; do
    mkdir -p "$dir"
    if (cd "$dir" && private_apt source -qq --download-only "$name=$v" >/dev/null 2>&1); then
      [ "$v" = "$version" ] || say "$name $version is not in the archive: $v instead"
      break
    fi
    rm -rf "$dir"
  done
  [ -d "$dir" ] || { say "the archive has no source of $name ${version%-*} that can be fetched"; exit 1; }
  echo "$v" >"$dir/version"
  say "fetched the source of $name $v"
  # apt checked the files against the archive's signed index; dpkg-source checks them against the .dsc.
  (cd "$dir" && dpkg-source -x ./*.dsc source 2>&1 | grep -v -e '^gpgv:' -e 'cannot verify' -e 'dpkg-source: info' >&2 || true)
  [ -d "$src" ] || { say "could not extract $name"; exit 1; }
  touch "$dir/.extracted"
}

# The version of the source package that the Linux build's -dev package comes from.
source_version() { dpkg-query -W -f='${source:Version}' "$1"; }

# Builds with CMake from $src in $build and installs into $prefix; $target, when set, is the one
# target built, and the caller installs it. The caller adds what else belongs there, then
# finish_build marks it done, so that a build cut short anywhere is started again.
cmake_build() { # name prefix cmake-options...
  local name=$1 prefix=$2
  shift 2
  # An earlier build of the same library with other options or version is replaced.
  find "$cache" -maxdepth 1 -name "$name-*" ! -path "$prefix" -exec rm -rf {} +
  local start=$SECONDS
  build=$cache/build-$name
  rm -rf "$build" "$prefix"
  say "building $name into $prefix"
  cmake -S "$src" -B "$build" -G Ninja --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DRECWRIGHT_MINGW_DEPS_FILE=none "$@" >"$cache/$name-configure.log" 2>&1 ||
    { tail -n 40 "$cache/$name-configure.log"; exit 1; }
  cmake --build "$build" -j "$jobs" ${target:+--target "$target"} >"$cache/$name-build.log" 2>&1 ||
    { tail -n 40 "$cache/$name-build.log"; exit 1; }
  say "$name built in $((SECONDS - start)) s"
  [ -n "${target:-}" ] || cmake --install "$build" >/dev/null
}
finish_build() { # prefix
  rm -rf "$build"
  touch "$1/.built"
}

# A library built on the static zlib says so in its pkg-config file, which gives zlib's folders
# (its headers include zlib.h).
requires_zlib() { # prefix
  local pc
  for pc in "$1"/lib/pkgconfig/*.pc; do
    grep -q '^Requires.private:.*zlib' "$pc" || echo 'Requires.private: zlib' >>"$pc"
  done
}

# Copies the package's licence texts into the prefix's share/licences.
keep_licences() { # prefix name files...
  local prefix=$1 name=$2
  shift 2
  mkdir -p "$prefix/share/licences"
  local f
  for f in "$@"; do cp "$src/$f" "$prefix/share/licences/$name-$(basename "$f")"; done
}

# zlib, static, for libzip and libxlsxwriter (Qt keeps its own copy inside its DLL).
zlib_version=$(source_version zlib1g-dev)
zlib_options=(-DBUILD_SHARED_LIBS=OFF)
zlib=$(prefix_for zlib zlib "$zlib_version" "${zlib_options[@]}")
if [ ! -f "$zlib/.built" ]; then
  fetch_source zlib "$zlib_version"
  # The DLL's resources are not in Debian's source: only the static library, installed as libz.a.
  target=zlibstatic cmake_build zlib "$zlib" "${zlib_options[@]}"
  mkdir -p "$zlib/lib/pkgconfig" "$zlib/include"
  cp "$build/libzlibstatic.a" "$zlib/lib/libz.a"
  cp "$src/zlib.h" "$build/zconf.h" "$zlib/include/"
  sed -e "s|^prefix=.*|prefix=$zlib|" "$build/zlib.pc" >"$zlib/lib/pkgconfig/zlib.pc"
  keep_licences "$zlib" zlib debian/copyright
  finish_build "$zlib"
fi

expat_version=$(source_version libexpat1-dev)
expat_options=(-DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF
               -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_FUZZERS=OFF -DEXPAT_MSVC_STATIC_CRT=OFF
               -DEXPAT_DTD=OFF) # a workbook has no DTD; Debian's security patches test XML_DTD as a number
expat=$(prefix_for expat expat "$expat_version" "${expat_options[@]}")
if [ ! -f "$expat/.built" ]; then
  fetch_source expat "$expat_version"
  src=$src/expat
  [ -f "$src/CMakeLists.txt" ] || src=$(dirname "$src")
  cmake_build expat "$expat" "${expat_options[@]}"
  src=$(dirname "$src")
  keep_licences "$expat" expat debian/copyright
  finish_build "$expat"
fi

libzip_version=$(source_version libzip-dev)
libzip_options=(-DBUILD_SHARED_LIBS=OFF -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF
                -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF
                -DENABLE_WINDOWS_CRYPTO=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF
                "-DRECWRIGHT_MINGW_PREFIXES=$zlib")
libzip=$(prefix_for libzip libzip "$libzip_version" "${libzip_options[@]}")
if [ ! -f "$libzip/.built" ]; then
  fetch_source libzip "$libzip_version"
  cmake_build libzip "$libzip" "${libzip_options[@]}"
  requires_zlib "$libzip"
  keep_licences "$libzip" libzip debian/copyright
  finish_build "$libzip"
fi

xlsxwriter_version=$(source_version libxlsxwriter-dev)
xlsxwriter_options=(-DBUILD_SHARED_LIBS=OFF -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF -DUSE_SYSTEM_MINIZIP=OFF
                    -DUSE_STANDARD_TMPFILE=ON "-DRECWRIGHT_MINGW_PREFIXES=$zlib")
xlsxwriter=$(prefix_for libxlsxwriter libxlsxwriter "$xlsxwriter_version" "${xlsxwriter_options[@]}")
if [ ! -f "$xlsxwriter/.built" ]; then
  fetch_source libxlsxwriter "$xlsxwriter_version"
  cmake_build libxlsxwriter "$xlsxwriter" "${xlsxwriter_options[@]}"
  requires_zlib "$xlsxwriter"
  keep_licences "$xlsxwriter" libxlsxwriter debian/copyright
  finish_build "$xlsxwriter"
fi

# Qt: the version of Debian's host tools (moc, rcc, uic), which the cross build runs. Only what
# the editor uses; graphics view stays, as Qt Charts draws on it. Without Direct2D, Qt's Gui has no DirectWrite font database, which the windows
# plugin would otherwise ask for with DirectWrite 3 (GDI's is the default in this version anyway).
qt_version=$(source_version qt6-base-dev)
qt_options=(-DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
            -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
            -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF
            -DFEATURE_directwrite3=OFF
            -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_printsupport=OFF
            -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_icu=OFF
            -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
            -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF
            -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF)
qt=$(prefix_for qt qt6-base "$qt_version" "${qt_options[@]}")
if [ ! -f "$qt/.built" ]; then
  fetch_source qt6-base "$qt_version"
  cmake_build qt "$qt" "${qt_options[@]}"
  fetched=$(fetched_version qt6-base "$qt_version")
  keep_licences "$qt" qt6-base debian/copyright LICENSES/LGPL-3.0-only.txt LICENSES/GPL-3.0-only.txt \
                             LICENSES/Qt-GPL-exception-1.0.txt
  cat >"$qt/share/licences/qt6-base-SOURCE.txt" <<EOF
The Qt libraries here (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll and the plugins in platforms/ and
styles/) are Qt ${qt_version%%+*}, used under the GNU LGPL version 3 (qt6-base-LGPL-3.0-only.txt), built
with MinGW-w64 from Debian's source package qt6-base $fetched (Qt's release with Debian's patches):
  apt-get source qt6-base=$fetched
Its third-party parts and their licences are listed in qt6-base-copyright. The program loads
them as DLLs: you may replace them with your own build of Qt ${qt_version%%+*} for MinGW-w64.
EOF
  # Qt's DLLs and plugins as they are handed out: without their symbol tables.
  for dll in "$qt"/bin/Qt6*.dll "$qt"/plugins/*/*.dll; do x86_64-w64-mingw32-strip --strip-unneeded "$dll"; done
  # The MinGW runtime that Qt's DLLs link, stripped, where the program's deployment finds it.
  for runtime in "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)" \
                 "$(x86_64-w64-mingw32-g++-posix -print-file-name=libgcc_s_seh-1.dll)" \
                 /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll; do
    x86_64-w64-mingw32-strip --strip-unneeded -o "$qt/bin/$(basename "$runtime")" "$runtime"
  done
  cp /usr/share/doc/gcc-mingw-w64-base/copyright "$qt/share/licences/mingw-gcc-runtime-copyright"
  cp /usr/share/doc/mingw-w64-common/copyright "$qt/share/licences/mingw-w64-winpthreads-copyright"
  finish_build "$qt"
fi

# Qt Charts, for the plot dock: the version of the Linux build's qt6-charts-dev (the same Qt
# release as qt6-base), built on the Qt above into a folder of its own, with only the chart types
# and axes the editor draws. No OpenGL: that Qt has none, and the charts draw without it.
charts_version=$(source_version qt6-charts-dev)
[ "${charts_version%%-*}" = "${qt_version%%+*}" ] ||
  { say "qt6-charts-dev $charts_version is not of the Qt release of qt6-base-dev $qt_version"; exit 1; }
charts_options=(-DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
                -DFEATURE_charts_area_chart=OFF -DFEATURE_charts_spline_chart=OFF -DFEATURE_charts_pie_chart=OFF
                -DFEATURE_charts_boxplot_chart=OFF -DFEATURE_charts_candlestick_chart=OFF
                -DFEATURE_charts_datetime_axis=OFF "-DRECWRIGHT_MINGW_PREFIXES=$qt")
charts=$(prefix_for qt6-charts qt6-charts "$charts_version" "${charts_options[@]}")
if [ ! -f "$charts/.built" ]; then
  fetch_source qt6-charts "$charts_version"
  cmake_build qt6-charts "$charts" "${charts_options[@]}"
  keep_licences "$charts" qt6-charts debian/copyright LICENSES/GPL-3.0-only.txt
  fetched=$(fetched_version qt6-charts "$charts_version")
  cat >"$charts/share/licences/qt6-charts-SOURCE.txt" <<EOF
Qt6Charts.dll is Qt Charts ${charts_version%%-*}, used under the GNU GPL version 3
(qt6-charts-GPL-3.0-only.txt), built with MinGW-w64 from Debian's source package qt6-charts
$fetched (Qt's release with Debian's patches) on the Qt libraries beside it:
  apt-get source qt6-charts=$fetched
Its third-party parts and their licences are listed in qt6-charts-copyright.
EOF
  for dll in "$charts"/bin/Qt6*.dll; do x86_64-w64-mingw32-strip --strip-unneeded "$dll"; done
  finish_build "$charts"
fi

# What the windows preset's toolchain reads: the folders, and where Qt's host tools are.
deps=$(dirname "$cache")/mingw-deps.cmake
cat >"$deps.new" <<EOF
# Written by scripts/windows-deps.sh: the libraries built for Windows in the cache.
set(RECWRIGHT_MINGW_PREFIXES "$qt;$charts;$zlib;$expat;$libzip;$xlsxwriter")
set(RECWRIGHT_MINGW_QT "$qt")
set(RECWRIGHT_MINGW_QT_CHARTS "$charts")
EOF
if cmp -s "$deps.new" "$deps"; then rm "$deps.new"; else mv "$deps.new" "$deps"; fi
say "ready: $deps"
