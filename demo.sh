#!/usr/bin/env bash
# Installs what is missing, builds and runs the demo: the instrument simulator on a
# pseudo-terminal mapped to COM9 (in a COM folder of the demo's own) and the configurator
# Tarnel talking to it. Without a display it runs in a virtual X display for a few seconds and
# saves screenshots.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

scripts/install-deps
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

export COMPORTS_DIR=$root/build/demo-comports
mkdir -p "$COMPORTS_DIR"
sim_out=$(mktemp)
build/bin/instrument-sim --model A --com 9 >"$sim_out" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -f "$sim_out"' EXIT
for _ in $(seq 50); do [[ -e $COMPORTS_DIR/COM9 ]] && break; sleep 0.1; done
if [[ ! -e $COMPORTS_DIR/COM9 ]]; then
    echo "demo: the simulator did not come up:" >&2
    cat "$sim_out" >&2
    exit 1
fi
echo "demo: instrument simulator on $(head -n 1 "$sim_out") as COM9"

# What the scanner hands over: COM9, 19200 baud, no parity, 8 data bits, 2 stop bits.
settings='9\n3\n0\n8\n2\n6802'
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    cd build/bin
    printf '%b' "$settings" > COM_Dev_use.txt
    ./Tarnel
    exit 0
fi
shot=$root/build/screenshots/demo.png
SMOKE_COM_DEV_USE=$settings scripts/desktop-smoke build/bin Tarnel "$shot" 6 F2
echo "No display here: the demo ran under Xvfb. Screenshots: $shot and ${shot%.png}-2.png"
