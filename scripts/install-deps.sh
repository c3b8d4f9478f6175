#!/usr/bin/env bash
# Installs every Debian package that building, testing, benchmarking, fuzzing
# and taking screenshots need. Quick no-op when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  lua5.4 python3
  xvfb xauth imagemagick fonts-dejavu-core fonts-noto-cjk
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -q
$sudo_cmd apt-get install -y -q --no-install-recommends "${missing[@]}"
