#!/usr/bin/env bash
# Installs what is needed, builds and runs the whole test suite.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UBSan build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
cmake_args=()
if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build-asan
  cmake_args+=(-DTARVIX_SANITIZE=ON)
fi

bash scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja "${cmake_args[@]}"
cmake --build "$build_dir" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
