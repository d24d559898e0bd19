#!/usr/bin/env bash
# Installs what building, running and testing lirskmap need on Debian 12, as root (or via sudo).
# Packages already present are not fetched again.
set -euo pipefail

packages=(cmake make g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
          fonts-dejavu-core fonts-liberation xvfb xauth xdg-utils clang libclang-rt-14-dev
          libzip-dev libicu-dev libkakasi2-dev libnanoflann-dev libxxhash-dev qt6-svg-dev
          qt6-tools-dev qt6-l10n-tools
          fonts-noto-cjk poppler-utils)
if [ "${1:-}" = "--bench" ]; then
    packages+=(libbenchmark-dev libboost-graph-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
