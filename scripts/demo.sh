#!/usr/bin/env bash
# Runs the tool on a fresh copy of the sample delivery, as a student would: copied into
# the project folder and started there.
set -uo pipefail
cd "$(dirname "$0")/.."
programa=${1:-build/dev/comprobador}

destino=$PWD/muestra-ejecucion
rm -rf "$destino"
cp -r muestra "$destino"
proyecto=$destino/Solucion/Juego
cp "$programa" "$proyecto/"

echo "Entrega de muestra: $proyecto"
echo "Lo que ha mostrado el comprobador:"
(cd "$proyecto" && ./comprobador) 2>"$destino/cajas.txt"
codigo=$?
sed 's/^/  /' "$destino/cajas.txt"
echo "Código de salida: $codigo"
if [ -f "$proyecto/entrega.zip" ]; then
  echo "Contenido de $proyecto/entrega.zip:"
  unzip -l "$proyecto/entrega.zip" | sed 's/^/  /'
fi
exit "$codigo"
