#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, ASan and UBSan in build-fuzz/
# and runs one of them for a while.
#   scripts/fuzz.sh NAME [SECONDS]   runs fuzz_NAME (default 60 s) on fuzz/corpus/NAME
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: scripts/fuzz.sh NAME [SECONDS]}
seconds=${2:-60}
bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVIX_FUZZ=ON -DTARVIX_TESTS=OFF >/dev/null
cmake --build build-fuzz --target "fuzz_$name" -j "$(nproc)"
corpus=fuzz-out/$name
mkdir -p "$corpus"
seeds=()
[ -d "fuzz/corpus/$name" ] && seeds+=("fuzz/corpus/$name")
# The script target also starts from the conformance and benchmark scripts.
case $name in
  script) seeds+=(tests/engine/conformance bench/interpreter) ;;
esac
export QT_QPA_PLATFORM=offscreen
"build-fuzz/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 "$corpus" "${seeds[@]}"
