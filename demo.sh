#!/usr/bin/env bash
# Installs what is missing, builds and runs the demo. Without a display it runs in a virtual
# X display for a few seconds and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

program=panel-demo
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    cd build/bin
    exec "./$program"
fi
shot=$PWD/build/screenshots/demo.png
scripts/desktop-smoke build/bin "$program" "$shot" 5
echo "No display here: the demo ran under Xvfb. Screenshot saved to $shot"
