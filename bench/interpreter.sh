#!/usr/bin/env bash
# The interpreter benchmark: the same programs (bench/interpreter/NAME.vbs,
# .py, .lua) in our engine (ixoscript), python3 and lua5.4. Prints the best
# of RUNS wall-clock times per program and the ratios ours/python3 and
# ours/lua (below 1.0: ours is faster).
#   bench/interpreter.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}

missing=()
command -v python3 >/dev/null || missing+=(python3)
command -v lua5.4 >/dev/null || missing+=(lua5.4)
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVIX_BENCH=ON -DTARVIX_TESTS=OFF >/dev/null
cmake --build build-bench --target ixoscript -j 2 >/dev/null
ours=build-bench/bin/ixoscript

# Best wall-clock seconds of $runs runs of a command; checks that every
# language prints the same result.
best_time() {
  local best="" output
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    output=$("$@")
    end=$(date +%s%N)
    local t=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  echo "$best $output"
}

printf '%-12s %10s %10s %10s %12s %10s\n' program ours_ms python3_ms lua_ms ours/python3 ours/lua
status=0
for vbs in bench/interpreter/*.vbs; do
  name=$(basename "$vbs" .vbs)
  read -r t_ours r_ours < <(best_time "$ours" "$vbs")
  read -r t_py r_py < <(best_time python3 "bench/interpreter/$name.py")
  read -r t_lua r_lua < <(best_time lua5.4 "bench/interpreter/$name.lua")
  if [ "$r_ours" != "$r_py" ] || [ "$r_ours" != "$r_lua" ]; then
    echo "$name: results differ: ours=$r_ours python3=$r_py lua=$r_lua" >&2
    status=1
  fi
  ratio_py=$(awk -v a="$t_ours" -v b="$t_py" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }')
  ratio_lua=$(awk -v a="$t_ours" -v b="$t_lua" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }')
  printf '%-12s %10s %10s %10s %12s %10s\n' "$name" "$t_ours" "$t_py" "$t_lua" "$ratio_py" "$ratio_lua"
done
exit $status
