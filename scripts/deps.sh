#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs to build, run, test and package (as root).
set -euo pipefail
PKGS="cmake g++ make ccache pkg-config clang-format qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite libqt6svg6 \
qt6-translations-l10n libsqlite3-dev xvfb xauth poppler-utils fonts-dejavu-core \
dpkg-dev file sqlite3 appstream desktop-file-utils bash-completion"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends $missing
fi
