#!/usr/bin/env bash
# The main job on the bundled example: installs what is missing, builds, draws the example
# table (merged cells, multi-line and Chinese texts, pictures) into a drawing, then
#  - with a display: opens the host's window with the drawing and VexTable loaded;
#  - without one: plots the drawing to a PNG beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
out=build/example
mkdir -p "$out"
build/cli/vextable draw examples/example_table.vtf -o "$out/example_table.dxf" --at 0,0
echo "The drawing is $out/example_table.dxf"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # The host runs this script at start: it loads the plug-in as a drafter's APPLOAD does.
  printf 'APPLOAD\n%s\n' "$PWD/build/plugin/Sys16/VexTable.arx" > "$out/start.scr"
  exec build/cadhost/cadhost /b "$out/start.scr" "$out/example_table.dxf"
fi
build/cadhost/cadhost --plot "$out/example_table.png" --dpi 200 "$out/example_table.dxf"
echo "Plotted by the host: $out/example_table.png"
