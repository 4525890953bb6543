#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need (as root, or through sudo).
set -eu
pkgs=(cmake g++ clang make pkg-config git xvfb xauth
  libgtest-dev libbenchmark-dev
  libsdl2-dev libx11-dev libxtst-dev libepoxy-dev glslang-dev glslang-tools libspirv-cross-c-shared-dev spirv-cross
  libdevil-dev libtinyxml2-dev libutfcpp-dev libvorbis-dev libfreetype-dev libpng-dev libjpeg-dev zlib1g-dev
  fonts-dejavu-core xfonts-base openbox imagemagick libmagick++-6.q16-dev libclang-rt-14-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
