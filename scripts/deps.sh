#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing.
#   scripts/deps.sh build   compiler, CMake, GoogleTest, the file libraries,
#                           CLI11, Boost, nlohmann-json and cpp-httplib for
#                           the orv program
#   scripts/deps.sh test    + what the file tests run: openpyxl, LibreOffice
#                           Calc and pdftotext; prlimit (util-linux) for the
#                           hostile inputs; clang and libFuzzer for fuzzing;
#                           pytest, numpy, setuptools, venv and pip for the
#                           Python client
#   scripts/deps.sh bench   + Google Benchmark and the peer libraries (Eigen,
#                           OpenBLAS serial with its LAPACK)
#   scripts/deps.sh web     + headless Chromium, its WebDriver and Selenium
#                           for the browser page's test, openpyxl
set -euo pipefail
want=(g++ cmake make libgtest-dev libgmock-dev pkg-config libzip-dev libexpat1-dev libxlsxwriter-dev libcli11-dev libboost-dev nlohmann-json3-dev libcpp-httplib-dev)
if [[ "${1:-build}" == test ]]; then
  want+=(python3-openpyxl libreoffice-calc-nogui fonts-crosextra-carlito poppler-utils util-linux clang libclang-rt-14-dev python3-pytest python3-numpy python3-setuptools python3-venv python3-pip)
fi
if [[ "${1:-build}" == bench ]]; then
  want+=(libbenchmark-dev libeigen3-dev libopenblas-serial-dev libboost-dev python3-openpyxl)
fi
if [[ "${1:-build}" == web ]]; then
  want+=(chromium chromium-driver python3-selenium python3-openpyxl)
fi
missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}" >&2
  sudo=""; [[ $(id -u) -ne 0 ]] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi
