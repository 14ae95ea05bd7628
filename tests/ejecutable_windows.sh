#!/usr/bin/env bash
# comprobador.exe stands alone: a graphical program that imports only system DLLs and
# carries its manifest as resource 1 of type RT_MANIFEST.
set -euo pipefail
exe=$1
volcado=$(x86_64-w64-mingw32-objdump -p "$exe")
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

while read -r dll; do
  case "${dll,,}" in
    kernel32.dll | user32.dll | msvcrt.dll) ;;
    *) falla "importa $dll" ;;
  esac
done < <(grep 'DLL Name:' <<<"$volcado" | awk '{print $3}')
grep -Eq 'Subsystem[[:space:]]+00000002' <<<"$volcado" || falla "no es del subsistema gráfico"
awk '/The .rsrc Resource Directory section/ { r = 1 } r' <<<"$volcado" |
  grep -A2 'Entry: ID: 0x000018' | grep -q 'Entry: ID: 0x000001' ||
  falla "sin recurso RT_MANIFEST 1"
for marca in '<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>' \
  'level="asInvoker"' 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'; do
  grep -aqF "$marca" "$exe" || falla "el manifiesto no declara $marca"
done
[ "$fallos" -eq 0 ] && echo "comprobador.exe: solo DLL del sistema, con su manifiesto"
exit "$fallos"
