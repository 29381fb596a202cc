#!/usr/bin/env bash
# Installs what building, running and testing the planner needs on Debian 12.
# Idempotent: when every package is already installed it touches nothing.
# Runs as root, or through sudo otherwise.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev qt6-translations-l10n
    libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
    googletest libgtest-dev
    postgresql-15
    unixodbc-dev tdsodbc
    xvfb xauth fonts-noto-cjk fonts-dejavu-core
    poppler-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
