#!/usr/bin/env bash
# Installs the Debian packages that building and testing VexTable need. Safe to run again:
# it only calls apt-get when a package is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libpugixml-dev
  python3-ezdxf
  qt6-base-dev fonts-dejavu-core fonts-wqy-microhei
  xvfb xauth xdotool poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# Others may be installing at the same time: wait for their lock rather than fail.
lock=(-o DPkg::Lock::Timeout=900)
$sudo apt-get "${lock[@]}" update -qq
$sudo apt-get "${lock[@]}" install -y -qq --no-install-recommends "${missing[@]}"
