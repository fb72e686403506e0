#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Kvelta 2001.
# Quiet and quick when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config lld
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libqt6printsupport6 libqt6network6 libgl-dev
  qt6-translations-l10n
  libsqlite3-dev sqlite3 libjpeg-dev libxlsxwriter-dev unzip
  libpq-dev postgresql
  libgtest-dev libbenchmark-dev
  xvfb xauth poppler-utils fonts-dejavu-core fonts-liberation
  python3 python3-openpyxl
  desktop-file-utils appstream dpkg-dev file groff-base
)
if [[ "${KV_WITH_MDB:-1}" == 1 ]]; then
  PACKAGES+=(mdbtools-dev)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

SUDO=""
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null; then SUDO=sudo; else
    echo "Missing packages: ${missing[*]} (run as root or install sudo)" >&2; exit 1
  fi
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
