#!/usr/bin/env bash
# A short fuzzing round: builds every libFuzzer target with clang in build-fuzz and runs each
# for FUZZ_SECONDS (default 60) on its seed corpus fuzz/corpus/<name> (target <name>_fuzz), with
# inputs up to twice its largest seed.
# New inputs go to a scratch corpus beside the build, never into the repository.
# Exit status: non-zero when a target crashes, leaks or times out.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ not found, fuzzing skipped"
  exit 0
fi
# clang without its libFuzzer runtime (libclang-rt) cannot build the targets: skip then too.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '#include <cstdint>\n#include <cstddef>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t *, size_t) { return 0; }\n' >"$probe/p.cpp"
if ! clang++ -fsanitize=fuzzer,address "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
  echo "fuzz: clang++ cannot link libFuzzer targets (install libclang-rt-14-dev), fuzzing skipped"
  exit 0
fi
seconds="${FUZZ_SECONDS:-60}"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZX_BUILD_FUZZ=ON -DZX_BUILD_GUI=OFF -DZX_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target zx_fuzz_targets
mkdir -p build-fuzz/artifacts
status=0
for bin in build-fuzz/fuzz/*_fuzz; do
  [ -x "$bin" ] || continue
  name=$(basename "$bin" _fuzz)
  scratch="build-fuzz/corpus-$name"
  mkdir -p "$scratch"
  dirs=("$scratch")
  [ -d "fuzz/corpus/$name" ] && dirs+=("fuzz/corpus/$name")
  # Inputs up to twice the largest seed (at least 4 KB), tried at full length from the start:
  # libFuzzer would otherwise never grow an input beyond its largest seed, and a reader's
  # handling of a larger file than any seed would go unexercised.
  # (the seeds only: the scratch corpus holds inputs of that length, which would double it each run)
  largest=0
  [ -d "fuzz/corpus/$name" ] && largest=$(find "fuzz/corpus/$name" -type f -printf '%s\n' | sort -n | tail -n 1)
  max_len=$(( 2 * ${largest:-0} ))
  [ "$max_len" -ge 4096 ] || max_len=4096
  echo "== fuzz $name for ${seconds}s (inputs up to $max_len bytes)"
  if ! "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -max_len="$max_len" -len_control=0 \
       -artifact_prefix="build-fuzz/artifacts/$name-" "${dirs[@]}" >"build-fuzz/$name.log" 2>&1; then
    echo "fuzz $name FAILED; the end of its log (build-fuzz/$name.log):"
    tail -n 40 "build-fuzz/$name.log"
    status=1
  else
    grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "build-fuzz/$name.log" | tail -n 2 || true
  fi
done
exit $status
