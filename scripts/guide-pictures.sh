#!/usr/bin/env bash
# Renews the pictures of the user guide (docs/guide/images) from the GUI
# tests: the real windows on a 1366x768 screen under the Russian locale.
# Usage: scripts/guide-pictures.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target tst_conventions
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '{"screens": [{"name": "laptop", "width": 1366, "height": 768}]}\n' >"$work/screen.json"
XDG_CONFIG_HOME=$work/config LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 \
  QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json" NKP_GUIDE_PICTURES=$work/images \
  "$build/tests/ui/tst_conventions" guidePictures
mkdir -p "$root/docs/guide/images"
cp "$work"/images/*.png "$root/docs/guide/images/"
ls "$root/docs/guide/images"
