#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need, only those missing:
# with them the package checks (lintian, desktop-file-validate, appstreamcli) and the window
# manager the screenshots are taken under (openbox).
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev
          qt6-base-dev qt6-translations-l10n qt6-serialport-dev
          libgtest-dev libgmock-dev googletest libbenchmark-dev
          xvfb xauth
          dpkg-dev lintian desktop-file-utils appstream
          openbox)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
