#!/usr/bin/env bash
# Installs what is missing (through sudo when not run as root), builds, and starts the desktop
# program from the build tree, as the user who runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
if [ -e build ] && [ ! -w build ]; then
  echo "build/ belongs to another user (an earlier run as root?): sudo chown -R \"$(id -un)\" build" >&2
  exit 1
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSMSV48_TESTS=OFF
cmake --build build -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under Xvfb (set DISPLAY to use your own screen)."
  exec xvfb-run -a build/bin/sms_switch_vantor "$@"
fi
exec build/bin/sms_switch_vantor "$@"
