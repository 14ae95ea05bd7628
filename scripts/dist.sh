#!/usr/bin/env bash
# A release in dist/ (or DESTINO): the Windows zip and the Linux tarball, each with the
# programs and the two guides, and their SHA256SUMS. The same commit gives the same bytes
# wherever it is built: every date is the last commit's, entries are sorted, owners and
# modes fixed.
#   scripts/dist.sh [DESTINO]
set -euo pipefail
cd "$(dirname "$0")/.."
destino=$(realpath -m "${1:-dist}")
version=$(sed -n 's/^project(comprobador VERSION \([0-9][0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "dist.sh: no hay número de versión en CMakeLists.txt" >&2; exit 1; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C

for preset in release windows-release; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The programs each build has (publicacion.txt: revisa only once the tree holds it), then
# the guides.
reune() {
  local construccion=$1 carpeta=$2 programa
  mkdir -p "$carpeta"
  while read -r programa; do
    [ -n "$programa" ] || continue
    install -m 755 "$programa" "$carpeta/"
  done <"$construccion/publicacion.txt"
  [ -f "$carpeta/comprobador" ] || [ -f "$carpeta/comprobador.exe" ] ||
    { echo "dist.sh: $construccion no tiene comprobador" >&2; exit 1; }
  for guia in LEEME PROFESORADO; do
    install -m 644 "build/release/$guia.html" "$carpeta/"
  done
  chmod 755 "$carpeta"
  find "$carpeta" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  echo "$(basename "$carpeta"): $(cd "$carpeta" && ls | sort | tr '\n' ' ')"
}

windows=comprobador-$version-windows-x86_64
linux=comprobador-$version-linux-x86_64
reune build/windows-release "$tmp/$windows"
reune build/release "$tmp/$linux"

# The zip holds the files at its root, as a student opens it in the Explorer.
/usr/bin/python3 - "$tmp/$windows.zip" "$SOURCE_DATE_EPOCH" "$tmp/$windows" <<'PYEOF'
import os, sys, time, zipfile
salida, epoca, carpeta = sys.argv[1], int(sys.argv[2]), sys.argv[3]
fecha = time.gmtime(max(epoca, 315532800))[:6]  # a ZIP date starts in 1980
with zipfile.ZipFile(salida, "w") as z:
    for nombre in sorted(os.listdir(carpeta)):
        info = zipfile.ZipInfo(nombre, fecha)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 3
        info.external_attr = (0o100755 if nombre.endswith(".exe") else 0o100644) << 16
        with open(os.path.join(carpeta, nombre), "rb") as f:
            z.writestr(info, f.read(), compresslevel=9)
PYEOF
# The tarball holds one folder named after it, as Linux releases do.
tar --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$SOURCE_DATE_EPOCH" \
  --format=gnu -C "$tmp" -cf - "$linux" | gzip -9 -n >"$tmp/$linux.tar.gz"

mkdir -p "$destino"
rm -f "$destino/$windows.zip" "$destino/$linux.tar.gz" "$destino/SHA256SUMS"
mv "$tmp/$windows.zip" "$tmp/$linux.tar.gz" "$destino/"
(cd "$destino" && sha256sum "$windows.zip" "$linux.tar.gz" >SHA256SUMS)
echo "En $destino:"
sed 's/^/  /' "$destino/SHA256SUMS"
