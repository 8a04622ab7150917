#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and makes the Debian package in ./build (or
# $BRISKO_BUILD_DIR): brisko_<version>_<architecture>.deb, installed with
# `apt install ./build/brisko_<version>_<architecture>.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/build.sh "$@"
build_dir=${BRISKO_BUILD_DIR:-build}
cd "$build_dir"
cpack -G DEB
ls -1 "$PWD"/brisko_*.deb
