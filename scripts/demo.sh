#!/usr/bin/env bash
# Runs the tool on a fresh copy of the sample delivery, as a student would: copied into
# the project folder and started there. Then the teachers' side: revisa over a small campus
# download made at that moment from the sample and its variants, with the feedback for the
# campus and the participants' code compared, the course's template left out.
set -uo pipefail
cd "$(dirname "$0")/.."
programa=${1:-build/dev/comprobador}
revisa=${2:-build/dev/revisa}

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

echo
echo "Descarga de muestra del campus (una carpeta por participante):"
campus=$destino/campus
descarga=$(scripts/campus-muestra.py "$programa" "$campus") || exit 1
echo "  $descarga"
echo "Lo que dice revisa, con la plantilla del curso en $campus/plantilla:"
"$revisa" --retroalimentacion --plantilla "$campus/plantilla" --salida "$campus" "$descarga" |
  sed 's/^/  /'
echo "Informe: $campus/revision.html (y revision.csv)"
echo "Código parecido entre participantes: $campus/similitud.html (y similitud.csv)"
echo "Retroalimentación para subir al campus: $campus/retroalimentacion.zip"
exit "$codigo"
