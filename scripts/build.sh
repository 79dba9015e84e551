#!/usr/bin/env bash
# Installs dependencies (if missing) and builds into build/: everything, or
# only the targets named (./scripts/build.sh programs). Arguments that begin
# with - go to cmake's configuration (-DZEV_SANITIZE=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
options=()
targets=()
for arg in "$@"; do
  case $arg in
    -*) options+=("$arg") ;;
    *) targets+=(--target "$arg") ;;
  esac
done
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build build -j"$(nproc)" "${targets[@]}"
