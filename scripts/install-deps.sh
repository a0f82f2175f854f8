#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the Debian package (cpack -G DEB) and the
# format check (clang-format) need.
# Idempotent and quiet when all is there.
set -euo pipefail

packages=(
  cmake g++ pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev
  libsqlite3-dev libcurl4-openssl-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth python3-pyftpdlib fonts-dejavu-core
  desktop-file-utils shared-mime-info xdg-utils
  dpkg-dev file
  clang-format
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
