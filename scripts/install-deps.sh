#!/usr/bin/env bash
# Installs exactly what building and testing the restorer needs on Debian 12.
set -euo pipefail
packages=(
  cmake ninja-build g++          # the build
  libgtest-dev                   # unit tests
  libbenchmark-dev               # benchmarks
  ffmpeg                         # real-encoder (libx264) streams and ffprobe in the tests
  libbluray-bin mediainfo        # independent readers of the repaired trees in the tests
  libcli11-dev                   # the command-line program
  nlohmann-json3-dev             # its JSON output
  qt6-base-dev                   # the wizard program
  qt6-svg-dev                    # its pictures, drawn from SVG at the screen's pixel density
  qt6-translations-l10n          # Qt's own button texts in Japanese
  fonts-vlgothic                 # Japanese pages rendered in the wizard's tests
  clang libclang-rt-14-dev       # scripts/fuzz.sh: libFuzzer and the sanitizers' runtimes
  libudev-dev                    # the file system of a FUSE mount that does not name it
  python3-jsonschema             # the tests check every JSON report against its schema
  dpkg-dev file                  # scripts/package.sh: cpack's Depends from dpkg-shlibdeps
  desktop-file-utils appstream   # scripts/package.sh: the desktop entry and the AppStream metainfo
  man-db                         # scripts/package.sh: the manual pages render without a warning
)
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${packages[@]}"
