#!/usr/bin/env bash
# Installs the missing Debian packages (as root, or through sudo).
#   scripts/deps.sh play   what building and running the game and its demo data generator need
#   scripts/deps.sh        that and what the test command needs: clang and its sanitizer and fuzzer runtime, lld,
#                          llvm (its symbolizer names the frames of sanitizer reports, which the leak
#                          suppressions match by function name),
#                          GoogleTest, Google Benchmark, Xvfb, ImageMagick and Magick++
set -eu
play=(cmake g++ make pkg-config
  libsdl2-dev libx11-dev libepoxy-dev glslang-dev glslang-tools libspirv-cross-c-shared-dev spirv-cross
  libdevil-dev libtinyxml2-dev libutfcpp-dev libvorbis-dev libfreetype-dev libpng-dev libjpeg-dev zlib1g-dev
  fonts-dejavu-core)
test=(clang libclang-rt-14-dev llvm lld git xvfb xauth xfonts-base libxtst-dev openbox
  libgtest-dev libbenchmark-dev imagemagick libmagick++-6.q16-dev)
case "${1:-test}" in
  play) pkgs=("${play[@]}") ;;
  test) pkgs=("${play[@]}" "${test[@]}") ;;
  *) echo "usage: $0 [play|test]" >&2; exit 2 ;;
esac
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
