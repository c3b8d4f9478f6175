#!/usr/bin/env bash
# Builds the benchmarks in build-bench/ (optimised) and runs one, or all.
#   scripts/bench.sh            every bench_* program
#   scripts/bench.sh NAME [ARGS] bench_NAME with its arguments
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVIX_BENCH=ON -DTARVIX_TESTS=OFF >/dev/null
export QT_QPA_PLATFORM=offscreen
if [ $# -gt 0 ]; then
  name=$1; shift
  cmake --build build-bench --target "bench_$name" -j "$(nproc)"
  exec "build-bench/bin/bench_$name" "$@"
fi
cmake --build build-bench -j "$(nproc)"
for program in build-bench/bin/bench_*; do
  echo "== $(basename "$program")"
  "$program"
done
