#!/usr/bin/env bash
# The sample delivery, checked by the archivers teachers use: exit 0, its one
# deliberate warning, and an entrega.zip that unzip and Python's zipfile accept.
set -euo pipefail
programa=$1
muestra=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp -r "$muestra/Solucion" "$tmp/"
cd "$tmp/Solucion/Juego"
"$programa" 2>"$tmp/cajas.txt"
esperado='Kelm - Práctica 2: aviso: El proyecto no hace referencia al archivo pruebas.cpp.'
[ "$(cat "$tmp/cajas.txt")" = "$esperado" ] || { echo "cajas inesperadas:"; cat "$tmp/cajas.txt"; exit 1; }
unzip -tq entrega.zip
python3 -m zipfile -t entrega.zip
mkdir "$tmp/desempaquetado"
unzip -q entrega.zip -d "$tmp/desempaquetado"
cmp "$tmp/desempaquetado/info.txt" ../info.txt
cmp "$tmp/desempaquetado/Juego/main.cpp" main.cpp
cmp "$tmp/desempaquetado/images/heroe.png" ../images/heroe.png
[ ! -e "$tmp/desempaquetado/images/dog.png" ]
echo "entrega.zip de la muestra: correcto"
