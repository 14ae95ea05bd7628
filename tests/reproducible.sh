#!/usr/bin/env bash
# The release is reproducible: the tree as it is (the files git does not ignore, and
# third_party/) copied into two folders of different paths and lengths, each built from clean
# by scripts/dist.sh, gives the same SHA256SUMS. On a difference, the files that differ.
set -euo pipefail
cd "$(dirname "$0")/.."
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
tmp=$(mktemp -d "${TMPDIR:-/tmp}/reproducible.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

copias=("$tmp/a" "$tmp/otra carpeta/con un nombre bastante más largo")
for copia in "${copias[@]}"; do
  mkdir -p "$copia"
  git ls-files -z --cached --others --exclude-standard | tar --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -C "$copia" -xf -
  cp -r third_party "$copia/"
  echo "Publicación construida en $copia"
  if ! (cd "$copia" && scripts/dist.sh) >"$copia.log" 2>&1; then
    tail -30 "$copia.log"
    echo "FALLO: scripts/dist.sh no ha terminado en $copia"
    exit 1
  fi
done

a=${copias[0]} b=${copias[1]}
if cmp -s "$a/dist/SHA256SUMS" "$b/dist/SHA256SUMS"; then
  sed 's/^/  /' "$a/dist/SHA256SUMS"
  echo "La publicación es reproducible: las dos construcciones dan los mismos bytes"
  exit 0
fi
diff "$a/dist/SHA256SUMS" "$b/dist/SHA256SUMS" || true
for f in build/release/comprobador build/release/revisa build/windows-release/comprobador.exe \
  build/windows-release/revisa.exe build/release/LEEME.html build/release/PROFESORADO.html; do
  [ -f "$a/$f" ] || continue
  cmp -s "$a/$f" "$b/$f" || echo "FALLO: $f es distinto en las dos construcciones"
done
echo "FALLO: la misma fuente construida en dos carpetas da archivos distintos"
exit 1
