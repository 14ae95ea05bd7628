#!/usr/bin/env bash
# Installs the Debian packages the build needs (only the missing ones) and fetches
# tinyxml2's source when the system's release is too old for the nesting limit of 500.
set -euo pipefail
cd "$(dirname "$0")/.."

paquetes=(cmake ninja-build g++ make pkg-config dpkg-dev libminizip-dev zlib1g-dev
  libgtest-dev python3 unzip util-linux clang-format
  # The fuzz target: clang; libFuzzer's runtime for its version follows below.
  clang
  # The benchmark's rivals and its profilers.
  zip libarchive-tools time valgrind
  # The guides as pages, and the browser their test renders them in.
  pandoc chromium)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || faltan+=("$p")
done

actualizado=no
actualiza() {
  if [ "$actualizado" = no ]; then
    apt-get update -qq
    actualizado=yes
  fi
}

instala() {
  if [ "$#" -gt 0 ]; then
    echo "Instalando: $*"
    actualiza
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@"
  fi
}
instala "${faltan[@]}"

# The sanitizer and libFuzzer runtime of the clang that is installed, whichever its version.
runtime=libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev
dpkg-query -W -f='${Status}' "$runtime" 2>/dev/null | grep -q 'ok installed' || instala "$runtime"

if pkg-config --atleast-version=10 tinyxml2 2>/dev/null; then
  exit 0
fi
scripts/fuente-debian.sh tinyxml2 trixie tinyxml2
