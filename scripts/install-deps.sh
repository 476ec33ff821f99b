#!/usr/bin/env bash
# Installs the Debian packages that building and testing VexTable need. Safe to run again:
# it only calls apt-get when a package is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libpugixml-dev libcurl4-openssl-dev libzip-dev libxlsxwriter-dev zip unzip
  python3-ezdxf python3-openpyxl libreoffice-calc-nogui
  qt6-base-dev fonts-dejavu-core fonts-wqy-microhei
  clang libclang-rt-14-dev
  dpkg-dev file
  xvfb xauth xdotool openbox x11-utils poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

# Another apt or dpkg run (an engineer's, an unattended upgrade) may hold the package lock:
# apt waits for it a while, and the whole step is tried again a few times after that.
apt_get() {
  local tries=0
  until $sudo apt-get -o DPkg::Lock::Timeout=120 "$@"; do
    tries=$((tries + 1))
    if [ "$tries" -ge 5 ]; then
      echo "install-deps: apt-get $* failed $tries times" >&2
      return 1
    fi
    echo "install-deps: apt-get $1 failed (the package lock may be held); trying again in 30 s" >&2
    sleep 30
  done
}
apt_get update -qq
apt_get install -y -qq --no-install-recommends "${missing[@]}"
