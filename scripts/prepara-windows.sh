#!/usr/bin/env bash
# What the Windows cross-build and its tests under wine need: MinGW-w64, a static zlib,
# the sources of minizip (zlib's contrib) and tinyxml2, GoogleTest's source, and wine
# with a prefix made once.
set -euo pipefail
cd "$(dirname "$0")/.."

paquetes=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev googletest wine wine64 fonts-wine python3)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || faltan+=("$p")
done
if [ "${#faltan[@]}" -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi

scripts/fuente-debian.sh tinyxml2 trixie tinyxml2
scripts/fuente-debian.sh zlib bookworm zlib

# A fresh prefix makes test discovery time out: create it before the tests run.
export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/comprobador-wine}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  WINEDEBUG=-all /usr/lib/wine/wineserver -w
fi
