#!/usr/bin/env bash
# Turns a guide of docs/ into one self-contained HTML page, its style and images inside:
#   scripts/pagina.sh docs/LEEME.md SALIDA.html
set -euo pipefail
entrada=$(realpath "$1")
salida=$(realpath -m "$2")
cd "$(dirname "$entrada")"
# pandoc 2.19 renamed --self-contained (Debian 12 has 2.17) to --embed-resources.
if pandoc --help | grep -q -- '--embed-resources'; then
  incrusta=(--standalone --embed-resources)
else
  incrusta=(--self-contained)
fi
# No typographic quotes: the messages are quoted byte for byte.
pandoc "${incrusta[@]}" --from markdown-smart --to html5 --metadata lang=es --css estilo.css \
  --lua-filter imagenes.lua --output "$salida.tmp" "$(basename "$entrada")"
mv "$salida.tmp" "$salida"
