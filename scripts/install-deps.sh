#!/usr/bin/env bash
# Installs everything Lexaloom needs to build, run and test (Debian 12).
# Idempotent: packages already present are skipped, and apt is not touched at all
# when nothing is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libpcre2-dev libarchive-dev libcurl4-openssl-dev libssl-dev openssl
    libgtest-dev
    # The fuzz targets: clang with ASan, UBSan and libFuzzer
    clang libfuzzer-14-dev
    # Arial-compatible metrics and the symbol glyphs shown in status texts and labels
    fonts-liberation fonts-dejavu-core fonts-noto-color-emoji fonts-symbola fontconfig
    # Format peers used by realism checks, benchmarks and the screenshot script
    libarchive-tools hunspell hunspell-tools libmythes-dev libxml2-utils xvfb x11-apps time libhyphen-dev python3
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all dependencies present."
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fc-cache -f >/dev/null 2>&1 || true
