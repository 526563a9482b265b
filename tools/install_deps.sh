#!/bin/sh
# Installs the Debian packages the game builds, runs and tests with; only what is missing.
# Run by `make`; safe to run again. `install_deps.sh fuzz` adds clang 14 with libFuzzer's
# runtime (only a recommendation of clang-14, so named here) for `make fuzz`;
# `install_deps.sh bench` adds Google Benchmark for `make bench`.
set -e
PACKAGES="build-essential cmake pkg-config libgtest-dev
libsdl2-dev libsdl2-image-dev libopenal-dev libtinyxml-dev libogg-dev libvorbis-dev libtheora-dev
xvfb xdotool openbox x11-utils imagemagick python3-pil fonts-dejavu-core sox vorbis-tools libtheora-bin"
[ "$1" = "fuzz" ] && PACKAGES="$PACKAGES clang-14 libclang-rt-14-dev"
[ "$1" = "bench" ] && PACKAGES="$PACKAGES libbenchmark-dev"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing:$missing"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
