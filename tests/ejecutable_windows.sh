#!/usr/bin/env bash
# A program of the project stands alone on Windows: of its subsystem (graphical or console),
# it imports only system DLLs and carries its manifest as resource 1 of type RT_MANIFEST, and
# its version information.
#   tests/ejecutable_windows.sh EXE VERSION DESCRIPCION [SUBSISTEMA]
# SUBSISTEMA: 2 graphical (the default), 3 console.
set -euo pipefail
exe=$1
version=$2
descripcion=$3
subsistema=${4:-2}
volcado=$(x86_64-w64-mingw32-objdump -p "$exe")
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

while read -r dll; do
  case "${dll,,}" in
    kernel32.dll | user32.dll | msvcrt.dll) ;;
    *) falla "importa $dll" ;;
  esac
done < <(grep 'DLL Name:' <<<"$volcado" | awk '{print $3}')
grep -Eq "Subsystem[[:space:]]+0000000$subsistema" <<<"$volcado" || falla "no es del subsistema $subsistema"
awk '/The .rsrc Resource Directory section/ { r = 1 } r' <<<"$volcado" |
  grep -A2 'Entry: ID: 0x000018' | grep -q 'Entry: ID: 0x000001' ||
  falla "sin recurso RT_MANIFEST 1"
for marca in '<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>' \
  'level="asInvoker"' 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
  '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>' \
  '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2</dpiAwareness>' \
  '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>'; do
  grep -aqF "$marca" "$exe" || falla "el manifiesto no declara $marca"
done

# The version resource as windres reads it back; its strings are UTF-16, written back with
# octal escapes.
recursos=$(x86_64-w64-mingw32-windres -i "$exe" -O rc)
cadena() {
  sed -n "s/^ *VALUE \"$1\", L\?\"\(.*\)\"\$/\1/p" <<<"$recursos" |
    python3 -c 'import codecs, sys; print(codecs.decode(sys.stdin.read().strip(), "unicode_escape"))'
}
grep -qxF " FILEVERSION ${version//./, }, 0" <<<"$recursos" || falla "FILEVERSION no es $version"
grep -qxF " PRODUCTVERSION ${version//./, }, 0" <<<"$recursos" || falla "PRODUCTVERSION no es $version"
grep -qxF '    VALUE "Translation", 0xc0a, 1200' <<<"$recursos" || falla "la versión no está en español"
while IFS='|' read -r clave esperado; do
  valor=$(cadena "$clave")
  [ "$valor" = "$esperado" ] || falla "$clave es «$valor», no «$esperado»"
done <<EOF
ProductName|Comprobador
FileDescription|$descripcion
FileVersion|$version
ProductVersion|$version
OriginalFilename|$(basename "$exe")
CompanyName|Kelm
EOF
[ "$fallos" -eq 0 ] && echo "$(basename "$exe"): solo DLL del sistema, con su manifiesto y su versión $version"
exit "$fallos"
