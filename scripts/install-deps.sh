#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, if any are missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config sqlite3 libsqlite3-dev clang-format
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-mysql
    qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n libqt6svg6 fonts-dejavu-core
    libcurl4-openssl-dev libkainjow-mustache-dev
    mariadb-server postgresql libqt6sql6-psql libpq-dev python3-aiosmtpd socat poppler-utils
    xvfb xauth ccache libical-dev
    dpkg-dev file desktop-file-utils appstream lintian
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installiere: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
