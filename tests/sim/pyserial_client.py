#!/usr/bin/env python3
"""pyserial as an outside client of instrument-sim's network port.

Usage: pyserial_client.py INSTRUMENT-SIM. Over RFC 2217, set up by pyserial's own negotiation:
a request answered at the instrument's settings with 0xFF unescaped, unanswered at another
parity, a setting the port has not refused. Over raw TCP (socket://): a request answered.
Exits 77 (skipped) without python3-serial.
"""

import subprocess
import sys

try:
    import serial
except ImportError:
    print("python3-serial is not installed (scripts/install-deps installs it): skipped")
    sys.exit(77)


def crc(frame):
    c = 0xFFFF
    for b in frame:
        c ^= b
        for _ in range(8):
            c = (c >> 1) ^ 0xA001 if c & 1 else c >> 1
    return bytes(frame) + bytes([c & 0xFF, c >> 8])


READ_MODEL = crc(b"\x01\x03\x1f\x00\x00\x01")
failures = []


def check(what, got, expected):
    if got != expected:
        failures.append("%s: got %r, expected %r" % (what, got, expected))


def serve(args, client):
    """Runs the simulator with args and client(url) against it."""
    sim = subprocess.Popen([sys.argv[1], *args], stdout=subprocess.PIPE, text=True)
    try:
        line = sim.stdout.readline().strip()
        if not line.startswith("listening on "):
            failures.append("first line %r" % line)
            return
        client(line[len("listening on "):])
    finally:
        sim.terminate()
        check("exit of %s" % " ".join(args), sim.wait(timeout=5), 0)


def exchange(port, request, size, timeout=1.0):
    port.timeout = timeout
    port.reset_input_buffer()
    port.write(request)
    return port.read(size)


def rfc2217(url):
    port = serial.serial_for_url(url, baudrate=19200, bytesize=8, parity="N", stopbits=2)
    model = crc(b"\x01\x03\x02\xff\x02")
    check("answer at 19200 8N2", exchange(port, READ_MODEL, 7), model)
    port.parity = "E"
    check("answer at 19200 8E2", exchange(port, READ_MODEL, 7, 0.3), b"")
    port.parity = "N"
    check("answer at 19200 8N2 again", exchange(port, READ_MODEL, 7), model)
    try:
        port.stopbits = 1.5
        failures.append("one and a half stop bits were taken")
    except (serial.SerialException, ValueError) as e:
        check("refusal names the setting", "stopsize" in str(e), True)
    port.close()


def raw(url):
    port = serial.serial_for_url(url.replace("tcp://", "socket://"))
    check("answer through the gateway", exchange(port, READ_MODEL, 7),
          crc(b"\x01\x03\x02\x68\x02"))
    port.close()


serve(["--listen", "rfc2217:0", "--code", "0xFF"], rfc2217)
serve(["--listen", "tcp:0"], raw)
for f in failures:
    print("FAILED:", f)
print("%d failures" % len(failures))
sys.exit(1 if failures else 0)
