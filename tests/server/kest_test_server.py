#!/usr/bin/env python3
"""Loopback HTTP/1.1 (and HTTPS) server for the installer's tests, demos and benchmarks.

Python 3 standard library only. It serves the files of one folder and misbehaves on request.

Commands
--------
  kest_test_server.py serve --root DIR --state FILE [options]
      Runs in the foreground until SIGTERM/SIGINT or until it has been idle too long.
  kest_test_server.py start --root DIR --state FILE [options]
      Runs `serve` detached in the background (its output goes to FILE.out), waits until it
      listens and prints the state file. A server still recorded in FILE is stopped first.
  kest_test_server.py stop --state FILE
      Stops the server recorded in FILE (SIGTERM, then SIGKILL) and removes FILE.

Options of serve/start
  --root DIR          folder whose files are served ("/a/b.bin" is DIR/a/b.bin)
  --state FILE        written once every listener is bound; "key=value" lines:
                        pid=<server process id>
                        http=<port of the plain listener>
                        <NAME>=<port of each --tls listener>
                        log=<request log path>
                      removed when the server ends
  --log FILE          request log (default: FILE of --state with ".log" appended)
  --port N            plain HTTP port (default 0: any free port)
  --tls NAME:CERT:KEY an extra HTTPS listener on a free port with that PEM certificate
                      (chain) and key; repeatable (see make-test-certs for test certificates)
  --idle-timeout S    end after S seconds without a request (default 1800)
  --host ADDR         address to bind (default 127.0.0.1)

Request log: one line per request, fields separated by tabs:
  <unix time> <listener: "http" or a --tls NAME> <method> <target> <Header: value>...
The same text is served at GET /_log (that request itself is not logged).

Query parameters (they combine; unknown ones such as "tag" are ignored, so tests can mark
their requests):
  status=N     answer status N with Content-Length; the body is the named file when there is
               one, else a small HTML page
  nolength=1   send the body without Content-Length and close the connection after it
  cut=N        announce the full Content-Length but send only the first N bytes, then close
  lengthonce=1 the first request of this exact target is answered in full with its length;
               every later one comes without a length (and with cut=N, cut short)
  delay=MS     pause MS milliseconds before each block after the first
  block=N      size of the blocks the body is sent in (default 65536)
A path that names no file gets 404 with a body. GET and HEAD are supported.
"""

import argparse
import http.server
import os
import signal
import socket
import socketserver
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse

DEFAULT_BLOCK = 65536
REASONS = {403: "Forbidden", 404: "Not Found", 500: "Internal Server Error"}


class Activity:
    """Last-request clock for the idle timeout, and the request log."""

    def __init__(self, log_path):
        self.lock = threading.Lock()
        self.last = time.monotonic()
        self.log_path = log_path
        open(log_path, "w").close()

    def touch(self):
        with self.lock:
            self.last = time.monotonic()

    def idle_seconds(self):
        with self.lock:
            return time.monotonic() - self.last

    def record(self, listener, method, target, headers):
        fields = [f"{time.time():.3f}", listener, method, target]
        fields += [f"{k}: {v}" for k, v in headers.items()]
        line = "\t".join(f.replace("\t", " ").replace("\n", " ") for f in fields) + "\n"
        with self.lock:
            with open(self.log_path, "a", encoding="utf-8") as log:
                log.write(line)

    def text(self):
        with self.lock:
            with open(self.log_path, encoding="utf-8") as log:
                return log.read()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "KestTestServer/1.0"
    timeout = 120  # an idle keep-alive connection does not hold a thread for ever

    def log_message(self, fmt, *args):  # the request log replaces the console lines
        pass

    def do_HEAD(self):
        self.answer(send_body=False)

    def do_GET(self):
        self.answer(send_body=True)

    def answer(self, send_body):
        server = self.server
        server.activity.touch()
        url = urllib.parse.urlsplit(self.path)
        if url.path == "/_log":
            self.send_bytes(200, server.activity.text().encode("utf-8"), "text/plain", send_body)
            return
        server.activity.record(server.listener, self.command, self.path, self.headers)
        query = dict(urllib.parse.parse_qsl(url.query))
        try:
            path = self.local_path(url.path)
            if "status" in query:
                status = int(query["status"])
                if path is not None:
                    with open(path, "rb") as source:
                        body = source.read()
                else:
                    body = (f"<html><body><h1>{status} {REASONS.get(status, 'Status')}</h1>"
                            f"<p>{url.path}</p></body></html>").encode("utf-8")
                self.send_bytes(status, body, "text/html", send_body)
                return
            if path is None:
                page = f"<html><body><h1>404 Not Found</h1><p>{url.path}</p></body></html>"
                self.send_bytes(404, page.encode("utf-8"), "text/html", send_body)
                return
            self.send_file(path, query, send_body)
        except (ConnectionError, ssl.SSLError, socket.timeout):
            self.close_connection = True

    def local_path(self, url_path):
        relative = urllib.parse.unquote(url_path).lstrip("/")
        root = os.path.realpath(self.server.root)
        path = os.path.realpath(os.path.join(root, relative))
        if not path.startswith(root + os.sep) or not os.path.isfile(path):
            return None
        return path

    def end_headers(self):
        # As HTTP/1.1 asks of a server: a client that said "close" is told the connection ends.
        if self.close_connection and "Connection" not in self.sent_headers:
            self.send_header("Connection", "close")
        super().end_headers()

    def send_header(self, keyword, value):
        self.sent_headers.add(keyword)
        super().send_header(keyword, value)

    def send_response(self, code, message=None):
        self.sent_headers = set()
        super().send_response(code, message)

    def send_bytes(self, status, data, content_type, send_body):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if send_body:
            self.wfile.write(data)

    def send_file(self, path, query, send_body):
        size = os.path.getsize(path)
        no_length = query.get("nolength") == "1"
        cut = int(query["cut"]) if "cut" in query else None
        if query.get("lengthonce") == "1":
            if self.server.first_request(self.path):
                no_length, cut = False, None
            else:
                no_length = True
        delay = int(query.get("delay", "0")) / 1000.0
        block = max(1, int(query.get("block", DEFAULT_BLOCK)))
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if no_length:
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(size))
        self.end_headers()
        if not send_body:
            return
        remaining = size if cut is None else min(cut, size)
        first = True
        with open(path, "rb") as source:
            while remaining > 0:
                if delay and not first:
                    time.sleep(delay)
                    self.server.activity.touch()
                first = False
                data = source.read(min(block, remaining))
                if not data:
                    break
                self.wfile.write(data)
                self.wfile.flush()
                remaining -= len(data)
        if cut is not None:
            self.close_connection = True
            self.abort_connection()
        elif no_length:
            self.close_connection = True

    def abort_connection(self):
        try:
            self.wfile.flush()
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass


class Listener(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, host, port, name, root, activity, tls=None):
        super().__init__((host, port), Handler)
        self.listener = name
        self.seen_targets = set()
        self.seen_lock = threading.Lock()
        self.root = root
        self.activity = activity
        self.tls = tls

    def get_request(self):
        sock, address = super().get_request()
        if self.tls is not None:
            # The handshake runs on the handler's thread at its first read, so a client that
            # refuses the certificate never blocks the accepting loop.
            sock = self.tls.wrap_socket(sock, server_side=True, do_handshake_on_connect=False)
        return sock, address

    def handle_error(self, request, client_address):  # refused handshakes, resets: expected
        pass

    def first_request(self, target):
        with self.seen_lock:
            if target in self.seen_targets:
                return False
            self.seen_targets.add(target)
            return True


def parse_tls(text):
    parts = text.split(":")
    if len(parts) != 3 or not all(parts):
        raise argparse.ArgumentTypeError("--tls wants NAME:CERT:KEY")
    return parts


def write_state(path, entries):
    temporary = path + ".tmp"
    with open(temporary, "w") as state:
        for key, value in entries:
            state.write(f"{key}={value}\n")
    os.replace(temporary, path)


def read_state(path):
    entries = {}
    try:
        with open(path) as state:
            for line in state:
                key, _, value = line.strip().partition("=")
                if key:
                    entries[key] = value
    except OSError:
        pass
    return entries


def serve(args):
    log_path = args.log or args.state + ".log"
    activity = Activity(log_path)
    listeners = [Listener(args.host, args.port, "http", args.root, activity)]
    for name, cert, key in args.tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        listeners.append(Listener(args.host, 0, name, args.root, activity, context))
    for listener in listeners:
        threading.Thread(target=listener.serve_forever, kwargs={"poll_interval": 0.2},
                         daemon=True).start()

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    entries = [("pid", os.getpid())]
    entries += [(l.listener, l.server_address[1]) for l in listeners]
    entries.append(("log", os.path.abspath(log_path)))
    write_state(args.state, entries)
    try:
        while not stop.wait(1.0):
            if activity.idle_seconds() > args.idle_timeout:
                print(f"idle for {args.idle_timeout} s, stopping", flush=True)
                break
    finally:
        for listener in listeners:
            listener.shutdown()
            listener.server_close()
        if read_state(args.state).get("pid") == str(os.getpid()):
            os.remove(args.state)
    return 0


def is_our_server(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
            return b"kest_test_server" in cmdline.read()
    except OSError:
        return False


def stop(args):
    pid = read_state(args.state).get("pid")
    if pid and pid.isdigit() and is_our_server(int(pid)):
        pid = int(pid)
        os.kill(pid, signal.SIGTERM)
        deadline = time.monotonic() + 10
        while is_our_server(pid) and time.monotonic() < deadline:
            time.sleep(0.1)
        if is_our_server(pid):
            os.kill(pid, signal.SIGKILL)
    for leftover in (args.state, args.state + ".tmp"):
        if os.path.exists(leftover):
            os.remove(leftover)
    return 0


def start(args):
    stop(args)
    command = [sys.executable, os.path.abspath(__file__), "serve", "--root", args.root,
               "--state", args.state, "--port", str(args.port), "--host", args.host,
               "--idle-timeout", str(args.idle_timeout)]
    if args.log:
        command += ["--log", args.log]
    for tls in args.tls:
        command += ["--tls", ":".join(tls)]
    with open(args.state + ".out", "w") as output:
        # Own session and no inherited pipes: whoever started us (ctest) need not wait for us.
        child = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=output,
                                 stderr=subprocess.STDOUT, start_new_session=True,
                                 close_fds=True)
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        if read_state(args.state).get("pid") == str(child.pid):
            with open(args.state) as state:
                sys.stdout.write(state.read())
            return 0
        if child.poll() is not None:
            break
        time.sleep(0.05)
    if child.poll() is None:
        child.kill()
    with open(args.state + ".out") as output:
        sys.stderr.write(output.read())
    sys.stderr.write("test server did not start\n")
    return 1


def main():
    parser = argparse.ArgumentParser(description="Loopback HTTP test server")
    commands = parser.add_subparsers(dest="command", required=True)
    for name in ("serve", "start"):
        command = commands.add_parser(name)
        command.add_argument("--root", required=True)
        command.add_argument("--state", required=True)
        command.add_argument("--log")
        command.add_argument("--port", type=int, default=0)
        command.add_argument("--host", default="127.0.0.1")
        command.add_argument("--tls", type=parse_tls, action="append", default=[])
        command.add_argument("--idle-timeout", type=float, default=1800)
    command = commands.add_parser("stop")
    command.add_argument("--state", required=True)
    args = parser.parse_args()
    return {"serve": serve, "start": start, "stop": stop}[args.command](args)


if __name__ == "__main__":
    sys.exit(main())
