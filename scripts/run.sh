#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSMSV48_TESTS=OFF
cmake --build build -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under Xvfb (set DISPLAY to use your own screen)."
  exec xvfb-run -a build/bin/sms_switch_vantor "$@"
fi
exec build/bin/sms_switch_vantor "$@"
