#!/usr/bin/env bash
# Installs the Debian packages the build needs (only the missing ones) and fetches
# tinyxml2's source when the system's release is too old for the nesting limit of 500.
set -euo pipefail
cd "$(dirname "$0")/.."

paquetes=(cmake ninja-build g++ make pkg-config dpkg-dev libminizip-dev zlib1g-dev
  libgtest-dev python3 unzip util-linux clang-format
  # The fuzz target: clang with libFuzzer's runtime.
  clang libclang-rt-14-dev
  # The benchmark's rivals and its profilers.
  zip libarchive-tools time valgrind
  # The guides as pages, and the browser their test and revisa's render them in.
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

if [ "${#faltan[@]}" -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  actualiza
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi

if pkg-config --atleast-version=10 tinyxml2 2>/dev/null; then
  exit 0
fi
scripts/fuente-debian.sh tinyxml2 trixie tinyxml2
