#!/usr/bin/env bash
# Builds the project and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
nkp_install_deps

# The Russian-locale tests need ru_RU.UTF-8; Debian ships it only as a source.
if ! locale -a 2>/dev/null | grep -qiE '^ru_RU\.utf-?8$'; then
  echo "Creating the locale ru_RU.UTF-8"
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
# With the locale made here, its tests fail rather than skip when it is absent.
export NKP_REQUIRE_RU_LOCALE=1
# The PostgreSQL server comes with the dependencies: its tests fail rather
# than skip when its binaries are missing.
export NKP_REQUIRE_POSTGRES=1

# The presets hold the build settings (CMakePresets.json).
cmake --preset dev
cmake --build --preset dev
ctest --preset dev
