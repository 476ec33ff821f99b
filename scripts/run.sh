#!/usr/bin/env bash
# The main job on the bundled example: installs what is missing, builds, and reports the
# effective settings of the example settings file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build/cli/vextable settings --ini examples/VexTable.ini
