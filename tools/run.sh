#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and starts Brisko from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/build.sh
build_dir=${BRISKO_BUILD_DIR:-build}
# The menu's Preferences and About start brisko-preferences, found on PATH.
export PATH="$(cd "$build_dir/bin" && pwd):$PATH"
exec "$build_dir/Brisko.app/Contents/Linux/Brisko" "$@"
