#!/usr/bin/env python3
"""pyserial's RFC 2217 server between one TCP connection on 127.0.0.1 and a pseudo-terminal.

Usage: rfc2217_pty_server.py PTY_PATH. Prints the TCP port it listens on, then serves one
connection after another until it is stopped. Exits with 77 when pyserial is missing.
"""
import socket
import sys
import termios
import threading

try:
    import serial
    import serial.rfc2217
except ImportError:
    sys.exit(77)


REFUSALS = (serial.SerialException, OSError, ValueError, termios.error)


class PtySerial(serial.Serial):
    """A pseudo-terminal: it has no modem lines, and may refuse a parity it cannot carry."""

    cts = dsr = ri = cd = property(lambda self: False)

    def _update_rts_state(self):
        pass

    _update_dtr_state = _update_break_state = _update_rts_state

    def _reconfigure_port(self, force_update=False):
        try:
            super()._reconfigure_port(force_update)
            return
        except REFUSALS:
            pass
        # Set the rest without the parity, but report the parity asked for. Some kernels
        # refuse even that when it changes nothing: the line has its settings then.
        wanted = self._parity
        self._parity = serial.PARITY_NONE
        try:
            super()._reconfigure_port(force_update)
        except REFUSALS:
            pass
        finally:
            self._parity = wanted


class Connection:
    """What PortManager writes to: the socket, one writer at a time."""

    def __init__(self, sock):
        self.sock = sock
        self.lock = threading.Lock()

    def write(self, data):
        with self.lock:
            self.sock.sendall(data)


def serve(port, sock):
    """Runs one client's session until it hangs up."""
    sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    connection = Connection(sock)
    manager = serial.rfc2217.PortManager(port, connection)
    alive = threading.Event()
    alive.set()

    def pty_to_network():
        while alive.is_set():
            data = port.read(port.in_waiting or 1)
            if data:
                try:
                    connection.write(b"".join(manager.escape(data)))
                except OSError:
                    return

    reader = threading.Thread(target=pty_to_network, daemon=True)
    reader.start()
    try:
        while True:
            data = sock.recv(1024)
            if not data:
                break
            port.write(b"".join(manager.filter(data)))
    except OSError:
        pass
    alive.clear()
    reader.join()
    sock.close()


def main():
    port = PtySerial(sys.argv[1], timeout=0.02)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    print(listener.getsockname()[1], flush=True)
    while True:
        sock, _ = listener.accept()
        serve(port, sock)


if __name__ == "__main__":
    main()
