# Windows x64 programs from Debian's MinGW-w64 cross compiler (the POSIX-threads variant, for
# std::thread), linked statically so that each .exe runs alone (the editor beside Qt's DLLs),
# and run through Wine: the tests and gtest's test discovery start them with
# CMAKE_CROSSCOMPILING_EMULATOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Qt and the worksheets' libraries, built for Windows into the cache by scripts/windows-deps.sh,
# which lists them in mingw-deps.cmake there (RECWRIGHT_MINGW_DEPS_FILE names another such file,
# or "none" while those libraries themselves are built, with RECWRIGHT_MINGW_PREFIXES given).
if(NOT DEFINED RECWRIGHT_MINGW_DEPS_FILE)
  if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(RECWRIGHT_MINGW_DEPS_FILE $ENV{XDG_CACHE_HOME}/recwright/mingw-deps.cmake)
  else()
    set(RECWRIGHT_MINGW_DEPS_FILE $ENV{HOME}/.cache/recwright/mingw-deps.cmake)
  endif()
endif()
if(EXISTS "${RECWRIGHT_MINGW_DEPS_FILE}")
  include(${RECWRIGHT_MINGW_DEPS_FILE})
endif()
# try_compile's projects read this file again and need the same folders.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES RECWRIGHT_MINGW_DEPS_FILE RECWRIGHT_MINGW_PREFIXES)

set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${RECWRIGHT_MINGW_PREFIXES})
set(CMAKE_PREFIX_PATH ${RECWRIGHT_MINGW_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config looks only at those folders, and names what a static library needs in turn.
set(pkg_config_dirs ${RECWRIGHT_MINGW_PREFIXES})
list(TRANSFORM pkg_config_dirs APPEND /lib/pkgconfig)
string(REPLACE ";" ":" pkg_config_dirs "${pkg_config_dirs}")
set(ENV{PKG_CONFIG_LIBDIR} "${pkg_config_dirs}")
set(ENV{PKG_CONFIG_PATH} "")
set(PKG_CONFIG_ARGN --static)
# Qt's host tools (moc, rcc, uic) are Debian's own, of the same version as the Qt built here.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
# Qt's modules built apart from Qt itself (Qt Charts), found as Qt finds its own.
set(QT_ADDITIONAL_PACKAGES_PREFIX_PATH ${RECWRIGHT_MINGW_QT_CHARTS})

# Wine quiet, headless, and in a prefix of the build's own, never the user's ~/.wine; Qt's DLLs
# (and the MinGW runtime they need, which sits beside them) found on its PATH, and Qt's plugins
# beside those, as Qt looks for them. (Qt Charts' DLL is copied beside the test programs that
# link it: a second folder on Wine's PATH would need a ';', which the emulator's list cannot
# carry through the tests' discovery.)
find_program(RECWRIGHT_WINE64 wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(RECWRIGHT_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR env -u DISPLAY -u WAYLAND_DISPLAY WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
      WINEPREFIX=${CMAKE_BINARY_DIR}/wine)
  if(RECWRIGHT_MINGW_QT)
    list(APPEND CMAKE_CROSSCOMPILING_EMULATOR WINEPATH=Z:${RECWRIGHT_MINGW_QT}/bin)
  endif()
  list(APPEND CMAKE_CROSSCOMPILING_EMULATOR ${RECWRIGHT_WINE64})
endif()
