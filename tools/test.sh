#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds with warnings as errors, and runs every test: the unit
# tests on Qt's offscreen platform, the end-to-end tier (label e2e) on a virtual X server
# with its own session bus, and the Debian package's checks (label package).
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/build.sh -DBRISKO_WERROR=ON
build_dir=${BRISKO_BUILD_DIR:-build}
export LC_ALL=C.UTF-8
cd "$build_dir"
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
  ctest --output-on-failure --timeout 300 -j"$(nproc)" "$@"
