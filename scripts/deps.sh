#!/usr/bin/env bash
# Installs the Debian packages the project needs, if any is missing.
# Sourced by run.sh, test.sh and .ci/run.
set -euo pipefail

NKP_PACKAGES=(
  build-essential cmake ninja-build pkg-config      # toolchain
  git clang-format                                  # formatting check in CI
  clang libclang-rt-14-dev                          # fuzz targets (libFuzzer)
  libgtest-dev libgmock-dev libbenchmark-dev        # tests and benchmarks
  qt6-base-dev qt6-serialport-dev libgl-dev         # Qt 6 Widgets, PrintSupport, SerialPort, Concurrent, Test
  qt6-translations-l10n                             # Qt's own dialogs and buttons in Russian
  libqcustomplot-dev libqcustomplot2.1-qt6          # charts
  libqt6sql6-sqlite libqt6sql6-psql                 # archive database drivers
  libssl-dev libzstd-dev zlib1g-dev                 # archive: SHA-256 of images, packed data files
  postgresql                                        # PostgreSQL server for the archive's tests
  fonts-liberation fonts-dejavu-core                # Arial/Courier New look-alikes with Cyrillic
  poppler-utils                                     # pdftotext in printout tests
  locales                                           # the ru_RU.UTF-8 locale of the Russian-locale tests
  xvfb xauth                                        # virtual display for run.sh on a headless machine
  python3 python3-jinja2                            # peer benchmark of the template engine
)

nkp_install_deps() {
  local missing=()
  local p
  for p in "${NKP_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}
