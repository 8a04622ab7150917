#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds with warnings as errors, and runs every test: the unit
# tests on Qt's offscreen platform, the end-to-end tier (label e2e) on a virtual X server
# with its own session bus, and the Debian package's checks (label package).
# BRISKO_SANITIZE=1 builds with the address and undefined-behaviour sanitizers in ./build-asan
# instead, and runs the tests with leak checking on.
set -euo pipefail
cd "$(dirname "$0")/.."
build_options=(-DBRISKO_WERROR=ON)
if [[ ${BRISKO_SANITIZE:-0} == 1 ]]; then
  export BRISKO_BUILD_DIR=${BRISKO_BUILD_DIR:-build-asan}
  build_options+=(-DBRISKO_SANITIZE=ON -DBRISKO_BUILD_BENCHMARKS=OFF)
fi
./tools/build.sh "${build_options[@]}"
build_dir=${BRISKO_BUILD_DIR:-build}
if grep -q '^BRISKO_SANITIZE:BOOL=ON' "$build_dir/CMakeCache.txt"; then
  # Leaks are errors, except the process-lifetime objects of the libraries we build on.
  # Whole stacks, through libraries built without frame pointers: both the reports and the
  # suppressions need them.
  export ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:detect_stack_use_after_return=0
  export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
export LC_ALL=C.UTF-8
cd "$build_dir"
# The run's own bus starts none of the machine's services: a desktop's portal or keyring would
# answer where a bare machine has nothing. Tests that need a service name it on a bus of their
# own.
bus_dir=$(mktemp -d)
trap 'rm -rf "$bus_dir"' EXIT
mkdir "$bus_dir/services"
cat >"$bus_dir/session.conf" <<EOF_CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <keep_umask/>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$bus_dir/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF_CONF
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session --config-file="$bus_dir/session.conf" -- \
  ctest --output-on-failure --timeout 300 -j"$(nproc)" "$@"
