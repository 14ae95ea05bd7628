#!/usr/bin/env bash
# Fuzzes the project file cross-check, revisa's review of a submission and the copy detection,
# each for a bounded time: fuzz/corre.sh [SECONDS] [proyecto|revision|similitud] [libFuzzer
# options...]; 60 seconds each and every target by default, the smoke run of `make test`. Each
# corpus grows in the build folder from its seeds; whatever fails is kept there (hallazgos/,
# hallazgos-revision/, hallazgos-similitud/), and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-60}
shift || true
objetivos=(proyecto revision similitud)
if [ $# -gt 0 ] && [[ $1 != -* ]]; then
  case $1 in
    proyecto | revision | similitud) objetivos=("$1") ;;
    *)
      echo "uso: fuzz/corre.sh [SEGUNDOS] [proyecto|revision|similitud] [opciones de libFuzzer...]" >&2
      exit 2
      ;;
  esac
  shift
fi
scripts/prepara.sh
# zlib's source, to build it instrumented as well: the review inflates every entry with it.
scripts/fuente-debian.sh zlib bookworm zlib

construccion=$PWD/build/fuzz
banderas="-O1 -g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

# The system's libz.a has neither coverage nor sanitizers: the same release from its source,
# with the flags of this build, in place of it. Built again only when those flags change.
zlib=$construccion/zlib
if [ ! -f "$zlib/libz.a" ] || [ "$(cat "$zlib/banderas" 2>/dev/null)" != "$banderas" ]; then
  rm -rf "$zlib"
  mkdir -p "$zlib/include"
  for f in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil; do
    # shellcheck disable=SC2086
    clang $banderas -D_LARGEFILE64_SOURCE=1 -DHAVE_HIDDEN -c "third_party/zlib/$f.c" -o "$zlib/$f.o"
  done
  ar rcs "$zlib/libz.a" "$zlib"/*.o
  cp third_party/zlib/zlib.h third_party/zlib/zconf.h "$zlib/include/"
  echo "$banderas" >"$zlib/banderas"
fi

cmake -S . -B "$construccion" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE= "-DCMAKE_C_FLAGS=$banderas" "-DCMAKE_CXX_FLAGS=$banderas" \
  "-DZLIB_INCLUDE_DIR=$zlib/include" "-DZLIB_LIBRARY=$zlib/libz.a" \
  "-DZLIB_LIBRARY_RELEASE=$zlib/libz.a" -DBUILD_TESTING=OFF -DCOMPROBADOR_FUZZ=ON >/dev/null
cmake --build "$construccion" --target "${objetivos[@]/%/_fuzz}"

# proyecto: any input as the project file of a fixed tree; small inputs, quick runs.
# revision: any input as a submission; an archive needs more room, and an entry may inflate
# up to 1032 times its size, as much as deflate can make of it.
# similitud: any input as three participants' code and a template; a few pages of code.
fallidos=()
for objetivo in "${objetivos[@]}"; do
  if [ "$objetivo" = proyecto ]; then
    corpus=$construccion/corpus
    semillas=$PWD/fuzz/semillas
    hallazgos=$construccion/hallazgos
    registro=$construccion/registro.txt
    opciones=(-dict="$PWD/fuzz/proyecto.dict" -timeout=10 -max_len=16384)
    que="del cruce del proyecto"
  elif [ "$objetivo" = similitud ]; then
    corpus=$construccion/similitud_fuzz-corpus
    semillas=$PWD/fuzz/semillas-similitud
    hallazgos=$construccion/hallazgos-similitud
    registro=$construccion/registro-similitud.txt
    opciones=(-timeout=10 -max_len=8192)
    que="de la detección de copias"
  else
    corpus=$construccion/revision_fuzz-corpus
    semillas=$construccion/revision-semillas
    python3 fuzz/semillas_revision.py "$semillas"
    hallazgos=$construccion/hallazgos-revision
    registro=$construccion/registro-revision.txt
    # Within the review's own bounds, 64 KiB can inflate to 1 GiB, reviewed twice: about
    # 20 s with every library instrumented. Longer than that is a hang.
    opciones=(-dict="$PWD/fuzz/revision.dict" -timeout=60 -max_len=65536)
    que="de la revisión de una entrega"
  fi
  mkdir -p "$corpus" "$hallazgos"
  echo "Fuzzing $que durante $segundos s (registro en $registro)"
  if ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$construccion/${objetivo}_fuzz" "$corpus" "$semillas" "${opciones[@]}" \
    -max_total_time="$segundos" -rss_limit_mb=2048 -artifact_prefix="$hallazgos/" \
    -print_final_stats=1 "$@" >"$registro" 2>&1; then
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done' "$registro" || tail -3 "$registro"
    echo "Fuzzing $que: sin hallazgos"
  else
    tail -60 "$registro"
    echo "Fuzzing $que: hallazgo en $hallazgos" >&2
    fallidos+=("$objetivo")
  fi
done
[ "${#fallidos[@]}" -eq 0 ]
