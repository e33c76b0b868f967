#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing VIREO needs.
# Does nothing when they are all present already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config ccache
  libgtest-dev
  flex bison
  clang libclang-rt-14-dev
  qt6-base-dev libgl-dev
  xvfb xauth fonts-liberation poppler-utils xdotool
  texlive-latex-base
  python3 python3-iapws python3-ephem
  python3-pandas python3-scipy  # the sun-position benchmark times pvlib's SPA (a snapshot, not installed)
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root (missing: ${missing[*]})" >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
