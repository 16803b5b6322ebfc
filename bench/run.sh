#!/usr/bin/env bash
# Builds the benchmarks, unpacks the corpus and measures our writer and engine
# against zlib and libdeflate; prints the ratios and keeps them in
# bench/out/results.txt. Extra arguments go to tw_bench (e.g. --rounds 3).
set -euo pipefail
cd "$(dirname "$0")/.."

corpus_archive=${TW_BENCH_CORPUS:-../shared/bench/corpus.tar.xz}
if [ ! -f "$corpus_archive" ]; then
  echo "run.sh: corpus archive '$corpus_archive' not found (set TW_BENCH_CORPUS)" >&2
  exit 1
fi

scripts/install-deps.sh --bench
cmake --preset bench >/dev/null
cmake --build --preset bench -j 2 --target tw_bench

# Unpacked afresh when the corpus archive is newer than the copy.
if [ ! -d bench/corpus ] || [ "$corpus_archive" -nt bench/corpus ]; then
  rm -rf bench/corpus
  tar -xJf "$corpus_archive" -C bench
  touch bench/corpus
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tw_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p bench/out
note="Run $(date -u '+%Y-%m-%d %H:%M UTC') on $(git describe --always --dirty 2>/dev/null || echo 'an unknown tree')"
build/bench/bench/tw_bench --note "$note" --corpus bench/corpus --work "$work" --out bench/out/results.txt "$@"
