#!/usr/bin/env bash
# The main job: build everything, make a sample archive and look into it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)"

# A sample archive from a folder of the project's own text files, then a look into it.
sample_dir="$(mktemp -d)"
trap 'rm -rf "$sample_dir"' EXIT
cp README.md arj/*.h "$sample_dir"/
build/native/twpack archive -o build/native/sample.arj "$sample_dir"
build/native/twpack list build/native/sample.arj
build/native/twpack test build/native/sample.arj
