#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
# A test that hangs fails after five minutes instead of holding the run.
ctest --test-dir build --output-on-failure -j2 --timeout 300
