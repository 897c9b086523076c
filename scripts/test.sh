#!/usr/bin/env bash
# Installs what is missing (through sudo when not run as root), builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite, as the user who runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
if [ -e build-test ] && [ ! -w build-test ]; then
  echo "build-test/ belongs to another user (an earlier run as root?): sudo chown -R \"$(id -un)\" build-test" >&2
  exit 1
fi
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSMSV48_SANITIZE=ON -DSMSV48_TESTS=ON -DSMSV48_WERROR=ON
cmake --build build-test -j"$(nproc)"
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
