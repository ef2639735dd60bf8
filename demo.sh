#!/usr/bin/env bash
# Installs what is missing, builds and runs the demo, a technician's day: the instrument
# simulator on a pseudo-terminal mapped to COM9 (in a COM folder of the demo's own) at link
# settings nobody told anyone, Scan finding it and starting its configurator, which reads it.
# DEMO_MODEL=B shows model B and Ombrel. Without a display it runs in a virtual X display and
# saves screenshots.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

scripts/install-deps
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

export COMPORTS_DIR=$root/build/demo-comports
mkdir -p "$COMPORTS_DIR"
model=${DEMO_MODEL:-A}
# An instrument nobody told the technician about: station 7, 4800 baud, 8O1.
sim_out=$(mktemp)
build/bin/instrument-sim --model "$model" --com 9 --station 7 --baud 4800 --format 8O1 \
    >"$sim_out" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -f "$sim_out"' EXIT
for _ in $(seq 50); do [[ -e $COMPORTS_DIR/COM9 ]] && break; sleep 0.1; done
if [[ ! -e $COMPORTS_DIR/COM9 ]]; then
    echo "demo: the simulator did not come up:" >&2
    cat "$sim_out" >&2
    exit 1
fi
echo "demo: model $model instrument simulator on $(head -n 1 "$sim_out") as COM9, station 7, 4800 8O1"

cd build/bin
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    # Press Auto Scan: Scan finds the instrument, puts it on station 1, 19200 8N2 and starts
    # its configurator.
    ./Scan
    exit 0
fi

# No display: a virtual one. Scan presses Auto Scan for the user and shoots as it sweeps
# (each few tenths of a second); the configurator it starts shoots its two pages.
shots=$root/build/screenshots
mkdir -p "$shots"
rm -f "$shots"/demo-*.png
export SUITE_SCREENSHOT=$shots/demo-%p.png
export SUITE_SCREENSHOT_KEYS_Scan="click:AUTO_SCAN$(printf ' F12%.0s' $(seq 60))"
export SUITE_QUIT_AFTER_Scan=90 SUITE_QUIT_AFTER_Tarnel=6 SUITE_QUIT_AFTER_Ombrel=6
export SUITE_SCREENSHOT_KEYS_Tarnel=F2 SUITE_SCREENSHOT_KEYS_Ombrel=F2
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
unset QT_QPA_PLATFORM
# Scan ends when it hands over; the configurator runs on in the same virtual display.
xvfb-run -a -s "-screen 0 1280x900x24" bash -c \
    './Scan; sleep 1; while pgrep -x Tarnel >/dev/null || pgrep -x Ombrel >/dev/null; do sleep 0.5; done'
last=$(ls -v "$shots"/demo-Scan*.png 2>/dev/null | tail -n 1)
[[ -n "$last" ]] && cp "$last" "$shots/demo-Scan-found.png"
echo "No display here: the demo ran under Xvfb. Screenshots in $shots:"
echo "  demo-Scan-2.png (sweeping), demo-Scan-found.png (the instrument found and handed over),"
echo "  demo-Tarnel.png / demo-Tarnel-2.png (or demo-Ombrel*) (the configurator it started)"
