#!/usr/bin/env bash
# The benchmark in one command: installs what is missing, builds the tools and the deflate
# limit, and prints the tables (also kept in build/bench/tabla.md). Arguments go to mide.py,
# e.g. --tamanos tipica,fuentes-4000 --repeticiones 3.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/prepara.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target comprobador revisa similitud_banco
mkdir -p build/bench
c++ -std=c++17 -O2 -Wall -Wextra -o build/bench/limite bench/limite.cpp -lz
python3 -B bench/mide.py --programa build/dev/comprobador --limite build/bench/limite \
  --trabajo build/bench "$@" | tee build/bench/tabla.md
# revisa against unzip -tq over 300 submissions, as files and as one campus archive, with one
# and two threads; its system time and read calls, an archive at the bounds, the feedback.
python3 -B bench/revisa.py --revisa build/dev/revisa --comprobador build/dev/comprobador \
  --trabajo build/bench | tee build/bench/revisa.md
# The copy detection: its evaluation on generated solutions of one assignment with disguised
# copies among them, and its speed and memory over 400 participants, alone and within revisa.
python3 -B bench/similitud.py --banco build/dev/bench/similitud_banco --trabajo build/bench \
  --revisa build/dev/revisa --comprobador build/dev/comprobador | tee build/bench/similitud.md
