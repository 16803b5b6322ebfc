#!/usr/bin/env bash
# The main job: build everything, make a sample archive and look into it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)"
