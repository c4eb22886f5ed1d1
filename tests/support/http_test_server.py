#!/usr/bin/env python3
"""A real HTTP server on 127.0.0.1 for the tests of the programs' requests.

Usage: http_test_server.py [--tls CERT KEY] [--root DIR] -- COMMAND [ARGS...]

Starts the server on a free port, runs COMMAND with QH_TEST_SERVER set to
"http://127.0.0.1:PORT" (no trailing slash) and QH_TEST_SERVER_ROOT to the
folder it serves files from (a new temporary one without --root, which the
command may fill as it goes), stops the server and exits with the command's
status. COMMAND may be a Windows test program behind the
Wine runner: Wine hands the environment on.

What it answers:
  /echo[...]            200; the body tells what arrived, one "name: value"
                        line each for method, path, content-type, x-test,
                        authorization and body (the body last, as sent)
  /status/N             status N with a small HTML page as its body
  /empty                200 with no body
  /binary               200, the bytes 00..FF twice
  /redirect             302 to /binary
  /auth                 200 "welcome" with basic credentials user:secret,
                        else 401
  /slow/MS              waits MS milliseconds, then 200 "late"
  /stall-body           announces 10 bytes, sends 4 and then nothing
  /pattern/SIZE         200, SIZE bytes where byte i is i % 251
  /no-length/SIZE       the same bytes without a length; closing the
                        connection ends them
  /truncated/SIZE       announces SIZE bytes, sends half of them and closes
  /dropped/SIZE         chunked; sends half of the bytes and closes without
                        the last chunk
  /trickle/N/MS         announces N * 16 bytes and sends 16 every MS ms
  /cut-first/N/SIZE     the first N requests of this path (query included)
                        as /truncated, the later ones as /pattern
  /endless              200 without a length; pattern bytes without end,
                        until the client goes away
  anything else         the file under --root, else 404; a name with "\"
                        in it is found as it is or with "/" for "\"; a
                        "Range: bytes=N-" header gets 206 with the bytes
                        from N on (Content-Range "bytes N-LAST/SIZE"), or
                        416 when N is not below the file's size; any other
                        range is ignored
Faults for the files: while the root holds a file ".faults", each of its
lines "PATH KIND [COUNT]" makes the requests for PATH (as the file's URL
path, "\" and "/" alike) answer with the fault KIND, the first COUNT ones
only when COUNT is given. KIND is one of 404, 500, no-length (the file
without a length, in ten pieces 100 ms apart, the connection's end ending
it), wrong-body (other bytes
of the same length), truncated (the length of the file, half of its
bytes), dropped (chunked, closed before the end), trickle (16 bytes
every 200 ms), drop-P (the file, or the rest a range asks for, with its
whole length announced, but the connection closed once the file's first P
per cent have been sent, as a connection that drops at that point) and
no-range (the whole file with 200, whatever range was asked for), endless
(the file without a length, then pattern bytes without end), long (the file
twice, with that length announced) and huge (the file padded with zeros to
17 MiB, with that length announced). Only drop-P and no-range look at a
range; the other kinds answer as if none was asked for.
With --tls the server speaks HTTPS with that certificate and key (PEM files),
and QH_TEST_SERVER is "https://localhost:PORT", the name such a test
certificate is made for.
Each request is also written, as a "METHOD PATH" line, to the log file the
server names to the command in QH_TEST_SERVER_LOG; a request with a Range
header has " Range: VALUE" after the path ("GET /f Range: bytes=100-").
"""
import base64
import http.server
import os
import re
import shutil
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse


# The size of a "huge" answer: past the 16 MiB any request of the programs
# keeps.
HUGE = 17 * 1024 * 1024


def pattern(size):
    return bytes(i % 251 for i in range(size))


class Handler(http.server.BaseHTTPRequestHandler):
    root = None
    log = None
    log_lock = threading.Lock()
    # Requests so far per path, for the routes that fail the first few.
    counts = {}
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def reply(self, status, body, content_type="text/plain", extra=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def handle_any(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else b""
        asked = self.headers.get("Range")
        line = f"{self.command} {self.path}" + (f" Range: {asked}" if asked is not None else "")
        with Handler.log_lock, open(Handler.log, "a") as f:
            f.write(line + "\n")
        path = self.path.split("?")[0]
        if path.startswith("/echo"):
            lines = [f"method: {self.command}", f"path: {self.path}"]
            for name in ("content-type", "x-test", "authorization"):
                lines.append(f"{name}: {self.headers.get(name, '')}")
            self.reply(200, ("\n".join(lines) + "\nbody: ").encode() + body)
        elif path.startswith("/status/"):
            self.reply(int(path[len("/status/"):]), b"<html><body>error page</body></html>", "text/html")
        elif path == "/empty":
            self.reply(200, b"")
        elif path == "/binary":
            self.reply(200, bytes(range(256)) * 2, "application/octet-stream")
        elif path == "/redirect":
            self.reply(302, b"", extra=[("Location", "/binary")])
        elif path == "/auth":
            expected = "Basic " + base64.b64encode(b"user:secret").decode()
            if self.headers.get("Authorization") == expected:
                self.reply(200, b"welcome")
            else:
                self.reply(401, b"who are you", extra=[("WWW-Authenticate", 'Basic realm="test"')])
        elif path.startswith("/slow/"):
            time.sleep(int(path[len("/slow/"):]) / 1000.0)
            self.reply(200, b"late")
        elif path == "/stall-body":
            self.send_response(200)
            self.send_header("Content-Length", "10")
            self.end_headers()
            self.wfile.write(b"part")
            self.wfile.flush()
            time.sleep(30)
        elif self.fault_route(path):
            pass
        else:
            self.serve_file(path)

    def fault_route(self, path):
        """The routes that deliver a body of pattern bytes, whole or broken."""
        parts = path.strip("/").split("/")
        if len(parts) == 2 and parts[0] == "pattern":
            self.reply(200, pattern(int(parts[1])), "application/octet-stream")
        elif len(parts) == 2 and parts[0] == "no-length":
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(pattern(int(parts[1])))
            self.close_connection = True
        elif len(parts) == 2 and parts[0] == "truncated":
            self.send_truncated(int(parts[1]))
        elif len(parts) == 2 and parts[0] == "dropped":
            body = pattern(int(parts[1]))[: int(parts[1]) // 2]
            self.send_response(200)
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for at in range(0, len(body), 1000):
                piece = body[at:at + 1000]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
            self.wfile.flush()
            self.close_connection = True
        elif len(parts) == 3 and parts[0] == "trickle":
            pieces, pause = int(parts[1]), int(parts[2]) / 1000.0
            body = pattern(pieces * 16)
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            for at in range(0, len(body), 16):
                self.wfile.write(body[at:at + 16])
                self.wfile.flush()
                time.sleep(pause)
        elif parts == ["endless"]:
            self.send_endless(b"")
        elif len(parts) == 3 and parts[0] == "cut-first":
            with Handler.log_lock:
                seen = Handler.counts.get(self.path, 0)
                Handler.counts[self.path] = seen + 1
            if seen < int(parts[1]):
                self.send_truncated(int(parts[2]))
            else:
                self.reply(200, pattern(int(parts[2])), "application/octet-stream")
        else:
            return False
        return True

    def send_endless(self, start):
        """200 without a length: start, then pattern bytes for as long as
        the client reads them."""
        self.send_response(200)
        self.send_header("Connection", "close")
        self.end_headers()
        block = pattern(251 * 256)
        self.wfile.write(start)
        while True:
            self.wfile.write(block)

    def send_truncated(self, size):
        self.send_response(200)
        self.send_header("Content-Length", str(size))
        self.end_headers()
        self.wfile.write(pattern(size)[: size // 2])
        self.wfile.flush()
        self.close_connection = True

    def serve_file(self, path):
        path = urllib.parse.unquote(path)
        body = self.read_file(path)
        if body is None:
            self.reply(404, b"<html><body>not found</body></html>", "text/html")
            return
        fault = self.planned_fault(path)
        if fault is None or fault == "no-range" or re.fullmatch(r"drop-\d+", fault):
            self.send_file(body, fault)
        elif fault in ("404", "500"):
            self.reply(int(fault), b"<html><body>error page</body></html>", "text/html")
        elif fault == "wrong-body":
            self.reply(200, bytes((b + 1) % 256 for b in body), "application/octet-stream")
        elif fault == "endless":
            self.send_endless(body)
        elif fault == "long":
            self.reply(200, body + body, "application/octet-stream")
        elif fault == "huge":
            self.reply(200, body + bytes(max(0, HUGE - len(body))), "application/octet-stream")
        else:
            self.send_broken(fault, body)

    def range_start(self):
        """N of a "Range: bytes=N-" header; None without one or for any
        other range, which is then ignored."""
        match = re.fullmatch(r"bytes=(\d+)-", (self.headers.get("Range") or "").strip())
        return int(match.group(1)) if match else None

    def send_file(self, body, fault):
        """The file, or the rest of it from a range's start; a drop-P fault
        closes the connection once P per cent of the file has been sent."""
        start = None if fault == "no-range" else self.range_start()
        if start is not None and start >= len(body):
            self.reply(416, b"", extra=[("Content-Range", f"bytes */{len(body)}")])
            return
        first = start or 0
        self.send_response(200 if start is None else 206)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body) - first))
        if start is not None:
            self.send_header("Content-Range", f"bytes {first}-{len(body) - 1}/{len(body)}")
        self.end_headers()
        if self.command == "HEAD":
            return
        if fault is not None and fault.startswith("drop-"):
            cut = len(body) * int(fault[len("drop-"):]) // 100
            self.wfile.write(body[first:max(first, cut)])
            self.wfile.flush()
            self.close_connection = True
        else:
            self.wfile.write(body[first:])

    def read_file(self, path):
        if not self.root:
            return None
        for name in (path, path.replace("\\", "/")):
            full = os.path.realpath(os.path.join(self.root, name.lstrip("/")))
            if full.startswith(os.path.realpath(self.root) + os.sep) and os.path.isfile(full):
                with open(full, "rb") as f:
                    return f.read()
        return None

    def planned_fault(self, path):
        """The fault .faults plans for this request of path, if any."""
        plan = os.path.join(self.root, ".faults")
        if not os.path.isfile(plan):
            return None
        key = path.replace("\\", "/")
        with open(plan, encoding="utf-8") as f:
            text = f.read()
        for line in text.splitlines():
            fields = line.split()
            if len(fields) < 2 or fields[0].replace("\\", "/") != key:
                continue
            # Counted per plan: a new plan starts its counts afresh.
            with Handler.log_lock:
                seen = Handler.counts.get(("plan", text, key), 0)
                Handler.counts[("plan", text, key)] = seen + 1
            if len(fields) == 3 and seen >= int(fields[2]):
                return None
            return fields[1]
        return None

    def send_broken(self, fault, body):
        """A file's answer that goes wrong on the way."""
        self.send_response(200)
        if fault == "no-length":
            # In pieces over about a second, so that a client's progress
            # display sees the bytes arrive without a length.
            self.send_header("Connection", "close")
            self.end_headers()
            piece = max(1, len(body) // 10)
            for at in range(0, len(body), piece):
                self.wfile.write(body[at:at + piece])
                self.wfile.flush()
                time.sleep(0.1)
        elif fault == "truncated":
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body[: len(body) // 2])
        elif fault == "dropped":
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            half = body[: len(body) // 2]
            for at in range(0, len(half), 1000):
                piece = half[at:at + 1000]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
        elif fault == "trickle":
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            for at in range(0, len(body), 16):
                self.wfile.write(body[at:at + 16])
                self.wfile.flush()
                time.sleep(0.2)
        self.wfile.flush()
        self.close_connection = True

    do_GET = do_POST = do_PUT = do_DELETE = do_HEAD = do_OPTIONS = do_PATCH = handle_any


def main():
    args = sys.argv[1:]
    work = tempfile.mkdtemp(prefix="qh-server-")
    Handler.log = os.path.join(work, "requests.log")
    open(Handler.log, "w").close()
    tls = None
    if args[:1] == ["--tls"]:
        tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        tls.load_cert_chain(args[1], args[2])
        args = args[3:]
    if args[:1] == ["--root"]:
        Handler.root = args[1]
        args = args[2:]
    else:
        Handler.root = os.path.join(work, "root")
        os.mkdir(Handler.root)
    if args[:1] == ["--"]:
        args = args[1:]
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    # A client that goes away in the middle of an answer (a cancelled or
    # killed download) is no error of the server's.
    default_error = server.handle_error

    def handle_error(request, client_address):
        if not isinstance(sys.exc_info()[1], (BrokenPipeError, ConnectionResetError)):
            default_error(request, client_address)

    server.handle_error = handle_error
    server.daemon_threads = True
    address = f"http://127.0.0.1:{server.server_address[1]}"
    if tls:
        # A client that refuses the certificate ends the handshake in
        # accept(); the server goes on with the next one.
        server.socket = tls.wrap_socket(server.socket, server_side=True)
        address = f"https://localhost:{server.server_address[1]}"
    threading.Thread(target=server.serve_forever, daemon=True).start()
    env = dict(os.environ, QH_TEST_SERVER=address,
               QH_TEST_SERVER_ROOT=Handler.root, QH_TEST_SERVER_LOG=Handler.log)
    try:
        status = subprocess.call(args, env=env)
    finally:
        server.shutdown()
        shutil.rmtree(work, ignore_errors=True)
    sys.exit(status)


if __name__ == "__main__":
    main()
