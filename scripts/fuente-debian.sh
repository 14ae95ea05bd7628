#!/usr/bin/env bash
# Fetches a Debian source package into third_party/, unpacked without Debian's patches:
#   scripts/fuente-debian.sh PAQUETE SUITE DESTINO
# A deb-src entry for that suite is derived from the machine's own apt sources when apt
# cannot find the package's source yet.
set -euo pipefail
cd "$(dirname "$0")/.."

paquete=$1
suite=$2
destino=third_party/$3
[ -f "$destino/.completo" ] && exit 0

entrada=/etc/apt/sources.list.d/comprobador-$suite-src.sources
if ! apt-get source --print-uris -qq "$paquete/$suite" >/dev/null 2>&1; then
  propio=$(. /etc/os-release && echo "$VERSION_CODENAME")
  {
    # deb822 stanzas of the main archive: same URIs and keys, source type, next suite.
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] && [ "$f" != "$entrada" ] || continue
      awk -v propio="$propio" -v suite="$suite" '
        BEGIN { RS = ""; ORS = "\n\n" }
        $0 ~ "Suites:[^\n]*(^|[ \t])" propio "([ \t]|\n|$)" && $0 !~ "security" {
          gsub(/Types:[^\n]*/, "Types: deb-src")
          gsub(/Suites:[^\n]*/, "Suites: " suite)
          print
        }' "$f"
    done
    # One-line entries, converted to a stanza.
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [ -f "$f" ] || continue
      awk -v propio="$propio" -v suite="$suite" '
        $1 == "deb" {
          i = 2; opciones = ""
          if ($2 ~ /^\[/) { while ($i !~ /\]$/) { opciones = opciones " " $i; i++ } opciones = opciones " " $i; i++ }
          if ($(i + 1) != propio) next
          printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", $i, suite
          for (j = i + 2; j <= NF; j++) printf " %s", $j
          if (opciones ~ /signed-by=/) { sub(/.*signed-by=/, "", opciones); sub(/[] ].*/, "", opciones); printf "\nSigned-By: %s", opciones }
          printf "\n\n"
        }' "$f"
    done
  } | awk 'BEGIN { RS = ""; ORS = "\n\n" } !visto[$0]++' > "$entrada.tmp"
  if [ ! -s "$entrada.tmp" ]; then
    rm -f "$entrada.tmp"
    echo "No hay ninguna fuente de apt de la que derivar la entrada deb-src de $suite" >&2
    exit 1
  fi
  mv "$entrada.tmp" "$entrada"
  apt-get update -qq
fi

mkdir -p third_party
tmp=$(mktemp -d third_party/descarga.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && apt-get source --download-only -qq "$paquete/$suite" 2>&1 | grep -v '^W: Download is performed unsandboxed' || true)
dsc=$(ls "$tmp"/"$paquete"_*.dsc)
dpkg-source -x --skip-patches "$dsc" "$tmp/src" >"$tmp/log" 2>&1 || { cat "$tmp/log" >&2; exit 1; }
rm -rf "$destino"
touch "$tmp/src/.completo"
mv "$tmp/src" "$destino"
echo "$paquete $(basename "$dsc" .dsc | cut -d_ -f2) en $destino"
