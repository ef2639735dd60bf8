#!/usr/bin/env python3
"""pyserial as an outside client of instrument-sim's network port.

Usage: pyserial_client.py PATH-TO-INSTRUMENT-SIM. Over RFC 2217 the port is opened and set up
by pyserial's own negotiation; a request is answered at the instrument's settings and not at
another parity; a setting the port has not is refused; 0xFF comes through unescaped. Over raw
TCP (pyserial's socket://) a request is answered. Exits 77 (skipped) without python3-serial.
"""

import subprocess
import sys
import time

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


class Simulator:
    def __init__(self, program, *args):
        self.proc = subprocess.Popen([program, *args], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline().strip()
        head = "listening on "
        if not line.startswith(head):
            self.stop()
            raise SystemExit("unexpected first line %r: %s" % (line, self.proc.stderr.read()))
        self.url = line[len(head):]

    def stop(self):
        self.proc.terminate()
        try:
            return self.proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            return -1


failures = []


def check(what, got, expected):
    if got != expected:
        failures.append("%s: got %r, expected %r" % (what, got, expected))


def exchange(port, request, size):
    port.reset_input_buffer()
    port.write(request)
    return port.read(size)


def rfc2217(program):
    sim = Simulator(program, "--listen", "rfc2217:0", "--code", "0xFF")
    try:
        port = serial.serial_for_url(sim.url, baudrate=19200, bytesize=8, parity="N",
                                     stopbits=2, timeout=1)
        check("answer at 19200 8N2", exchange(port, READ_MODEL, 7),
              crc(b"\x01\x03\x02\xff\x02"))
        port.timeout = 0.3
        port.parity = "E"
        check("answer at 19200 8E2", exchange(port, READ_MODEL, 7), b"")
        port.parity = "N"
        port.timeout = 1
        check("answer at 19200 8N2 again", exchange(port, READ_MODEL, 7),
              crc(b"\x01\x03\x02\xff\x02"))
        try:
            port.stopbits = 1.5
            failures.append("one and a half stop bits were taken")
        except (serial.SerialException, ValueError) as e:
            check("refusal names the setting", "stopsize" in str(e), True)
        port.close()
    finally:
        check("rfc2217 simulator's exit", sim.stop(), 0)


def raw(program):
    sim = Simulator(program, "--listen", "tcp:0")
    try:
        url = sim.url.replace("tcp://", "socket://")
        port = serial.serial_for_url(url, timeout=1)
        check("answer through the gateway", exchange(port, READ_MODEL, 7),
              crc(b"\x01\x03\x02\x68\x02"))
        port.close()
    finally:
        check("raw simulator's exit", sim.stop(), 0)


def main():
    start = time.monotonic()
    rfc2217(sys.argv[1])
    raw(sys.argv[1])
    for f in failures:
        print("FAILED:", f)
    print("%d failures in %.1f s" % (len(failures), time.monotonic() - start))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
