#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer target of every reader of outside data with clang under the address and
# undefined-behaviour sanitizers (in ./build-fuzz, only the libraries they need) and runs each
# for a bounded time from its seeds in tests/fuzz/corpus/ (the vCard reader also from the sample
# cards in tests/data). A crash, leak, sanitizer report or failed check fails the run and
# prints the input that reproduces it.
#   BRISKO_FUZZ_SECONDS   time per target (60)
#   ./tools/fuzz.sh VCardFuzzer …   runs only the targets named
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
# Absolute: the targets run in private homes of their own.
build_dir=$(realpath -m "${BRISKO_FUZZ_BUILD_DIR:-build-fuzz}")
seconds=${BRISKO_FUZZ_SECONDS:-60}
all_targets=(VCardFuzzer PropertyListFuzzer ArchiveFuzzer KhardConfigFuzzer AutostartFuzzer
             ClickToCallFuzzer VersionFileFuzzer)
targets=("${all_targets[@]}")
[[ $# -gt 0 ]] && targets=("$@")

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRISKO_BUILD_FUZZERS=ON -DBRISKO_WITH_EDS=OFF -DBRISKO_WERROR=ON >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=0:symbolize=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LC_ALL=C.UTF-8
out="$build_dir/fuzz"
mkdir -p "$out"

seeds_of() {
  local seeds=("$PWD/tests/fuzz/corpus/$1")
  [[ $1 == VCardFuzzer ]] && seeds+=("$PWD"/tests/data/{kcontacts,vcards,controller})
  echo "${seeds[@]}"
}

# One target: its own working corpus (kept between local runs), its seeds read only.
run_one() {
  local target=$1 work="$out/corpus/$1"
  # A run ended by a fault leaves its private home behind; each target's go in a folder that
  # the next run empties.
  rm -rf "$out/tmp/$1"
  mkdir -p "$work" "$out/artifacts/$1" "$out/tmp/$1"
  # shellcheck disable=SC2046
  TMPDIR="$out/tmp/$1" "$build_dir/tests/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$out/artifacts/$1/" "$work" $(seeds_of "$target") \
    >"$out/$target.log" 2>&1
}

failed=()
running=0
for target in "${targets[@]}"; do
  rm -rf "$out/artifacts/$target"
  run_one "$target" &
  pids[$!]=$target
  running=$((running + 1))
  if ((running >= $(nproc))); then
    wait -n || true
    running=$((running - 1))
  fi
done
wait || true

printf '%-20s %12s %8s %8s %8s\n' target executions cov ft corpus
for target in "${targets[@]}"; do
  log="$out/$target.log"
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corpus=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
  printf '%-20s %12s %8s %8s %8s\n' "$target" "${executions:-?}" "${cov:-?}" "${ft:-?}" "${corpus:-?}"
  if compgen -G "$out/artifacts/$target/*" >/dev/null || ! grep -q '^Done [0-9]* runs' "$log"; then
    failed+=("$target")
  fi
done

for target in "${failed[@]}"; do
  echo
  echo "=== $target failed; its report:"
  grep -v -E '^#[0-9]+|^INFO: ' "$out/$target.log" | tail -60
  for input in "$out/artifacts/$target"/*; do
    [[ -e $input ]] || continue
    echo "--- reproducing input $input ($(stat -c %s "$input") bytes), base64:"
    head -c 4096 "$input" | base64
    echo "--- run it again with: $build_dir/tests/fuzz/$target $input"
  done
done
((${#failed[@]} == 0))
