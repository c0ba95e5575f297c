#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing.
#   scripts/deps.sh build   compiler, CMake, GoogleTest
#   scripts/deps.sh bench   + Google Benchmark and the peer libraries
set -euo pipefail
want=(g++ cmake make libgtest-dev libgmock-dev)
if [[ "${1:-build}" == bench ]]; then
  want+=(libbenchmark-dev libeigen3-dev liblapack-dev libboost-dev)
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
