#!/usr/bin/env bash
# Fuzzes the project file cross-check for a bounded time: fuzz/corre.sh [SECONDS] [libFuzzer
# options...]; 60 seconds by default, the smoke run of `make test`. The corpus grows in
# build/fuzz/corpus from the seeds in fuzz/semillas; whatever fails is kept in
# build/fuzz/hallazgos, and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-60}
shift || true
scripts/prepara.sh

construccion=$PWD/build/fuzz
banderas="-O1 -g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B "$construccion" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE= "-DCMAKE_C_FLAGS=$banderas" "-DCMAKE_CXX_FLAGS=$banderas" \
  -DBUILD_TESTING=OFF -DCOMPROBADOR_FUZZ=ON >/dev/null
cmake --build "$construccion" --target proyecto_fuzz

mkdir -p "$construccion/corpus" "$construccion/hallazgos"
registro=$construccion/registro.txt
echo "Fuzzing del cruce del proyecto durante $segundos s (registro en $registro)"
if ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$construccion/proyecto_fuzz" "$construccion/corpus" "$PWD/fuzz/semillas" \
  -dict="$PWD/fuzz/proyecto.dict" -max_total_time="$segundos" -timeout=10 -max_len=16384 \
  -rss_limit_mb=2048 -artifact_prefix="$construccion/hallazgos/" -print_final_stats=1 "$@" \
  >"$registro" 2>&1; then
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done' "$registro" || tail -3 "$registro"
  echo "Fuzzing: sin hallazgos"
else
  tail -60 "$registro"
  echo "Fuzzing: hallazgo en $construccion/hallazgos" >&2
  exit 1
fi
