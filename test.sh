#!/usr/bin/env bash
# Installs what is missing, builds, runs every test, then builds and runs the tests again with
# the address and undefined-behaviour sanitizers, then runs the fuzz targets briefly.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)

scripts/install-deps

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
# Read-all and write-all against the simulator on a pseudo-terminal, timed beside the line's
# own speed, and once over raw TCP and RFC 2217 on loopback beside the tty. Informative only:
# it fails the run when a command fails, never for being slow.
build/bin/transfer-bench --rounds 5 --net-rounds 1 --watch 5
build/bin/transfer-bench --rounds 5 --net-rounds 1 --model B --watch 5
# Scan's sweep from Auto Scan to the configurator's start, instruments found at probes 2, 6, 10.
build/bin/scan-bench

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSUITE_SANITIZE=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_stack_use_after_return=1 \
    LSAN_OPTIONS=suppressions=$PWD/../scripts/lsan.supp \
    ctest --output-on-failure -j"$jobs")

# Every parser of outside input under libFuzzer for a few seconds each (clang, sanitizers on).
scripts/fuzz --time 5

echo "All tests passed. Desktop screenshots: build/screenshots/ (panel-demo.png; tarnel.png, tarnel-2.png: Tarnel with no instrument; tarnel-instrument.png, tarnel-instrument-2.png: Tarnel after reading the simulated instrument; ombrel-instrument.png, ombrel-instrument-2.png: Ombrel after reading the simulated model B instrument; tarnel-watch-3.png, tarnel-watch-5.png: watching and the trend; tarnel-cal-3.png, ombrel-cal-3.png: a calibration step; scan-lang0..2.png: Scan in its three languages; tarnel-lang1.png, tarnel-lang2.png, ombrel-lang1.png, ombrel-lang2.png (and -2 for the calibration page): the configurators in Traditional and Simplified Chinese; installed-scan.png: Scan from the unpacked Debian package)"
