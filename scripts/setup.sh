#!/usr/bin/env bash
# Installs every Debian package the project builds, runs and tests with. Idempotent: packages
# already present are skipped, and apt is not touched at all when nothing is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config lld
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libfreetype-dev libfontconfig-dev fonts-wqy-microhei
  libuemf-dev libosmesa6-dev libglu1-mesa-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libsqlite3-dev libdxflib-dev libgeos-dev
  ffmpeg python3 python3-pil python3-ezdxf
)

# Other packages named on the command line are installed instead (scripts/setup-look.sh).
if [ $# -gt 0 ]; then
  packages=("$@")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
