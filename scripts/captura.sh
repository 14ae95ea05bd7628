#!/usr/bin/env bash
# Takes docs/caja.png: a real box of comprobador.exe, under Xvfb with wine, on the sample
# delivery (whose one finding is a warning).
#   scripts/captura.sh [build/windows/comprobador.exe]
set -euo pipefail
cd "$(dirname "$0")/.."
exe=$(realpath "${1:-build/windows/comprobador.exe}")
for p in xvfb imagemagick x11-apps; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$p"
done

tmp=$(mktemp -d)
pantalla=:97
Xvfb "$pantalla" -screen 0 640x360x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; WINEDEBUG=-all /usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$tmp"' EXIT
cp -r muestra/Solucion "$tmp/"
# Without a window manager, wine draws the title bar itself when windows are unmanaged.
scripts/wine.sh reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
sleep 2
raiz=$PWD
(cd "$tmp/Solucion/Juego" && DISPLAY=$pantalla "$raiz/scripts/wine.sh" "$exe" 2>/dev/null) &
# The box stays until closed; give wine time to draw it.
sleep "${ESPERA:-12}"
DISPLAY=$pantalla import -window root "$tmp/pantalla.png"
convert "$tmp/pantalla.png" -trim +repage -bordercolor '#3a6ea5' -border 12 docs/caja.png
echo "docs/caja.png"
