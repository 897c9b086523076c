#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs to build, run, test and package. Run it as
# yourself: only when something is missing does it ask for root, through sudo (as root, as in
# CI, it installs directly).
set -euo pipefail
PKGS="cmake g++ make ccache pkg-config clang-format qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite libqt6svg6 \
qt6-translations-l10n libsqlite3-dev xvfb xauth poppler-utils fonts-dejavu-core \
dpkg-dev file sqlite3 appstream desktop-file-utils bash-completion \
lintian xdg-utils shared-mime-info libfile-mimeinfo-perl"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  as_root=()
  if [ "$(id -u)" != 0 ]; then
    command -v sudo >/dev/null || {
      echo "deps.sh: these packages are missing and sudo is not installed; install them as root:$missing" >&2
      exit 1
    }
    as_root=(sudo)
  fi
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi
