#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need, when any is missing.
set -euo pipefail
PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-charts-dev libcurl4-openssl-dev
          libcpp-httplib-dev libsqlite3-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xauth fonts-dejavu-core)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
