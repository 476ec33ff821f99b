#!/usr/bin/env bash
# The main job on the bundled example: installs what is missing, builds, draws the example
# table (merged cells, multi-line and Chinese texts, pictures) into a drawing, and renders the
# drawing to a PNG when LibreCAD is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
out=build/example
mkdir -p "$out"
build/cli/vextable draw examples/example_table.vtf -o "$out/example_table.dxf" --at 0,0
echo "The drawing is $out/example_table.dxf"
if command -v librecad > /dev/null && command -v pdftoppm > /dev/null; then
  (cd "$out" && QT_QPA_PLATFORM=offscreen librecad dxf2pdf -a example_table.dxf > /dev/null 2>&1) &&
    pdftoppm -png -r 100 -singlefile "$out/example_table.pdf" "$out/example_table" &&
    echo "Rendered by LibreCAD: $out/example_table.png"
fi
