#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Configures and builds Brisko in ./build (or $BRISKO_BUILD_DIR), installing missing packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
build_dir=${BRISKO_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
