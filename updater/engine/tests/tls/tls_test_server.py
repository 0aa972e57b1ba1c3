#!/usr/bin/env python3
"""HTTPS servers on 127.0.0.1 for the TLS download tests.

  tls_test_server.py start --certs DIR --root DIR --state FILE [--lifetime SECONDS]
  tls_test_server.py stop --state FILE

`start` makes sure one server process runs, detached, with a listener for each
certificate (trusted, wrongname, selfsigned, otherca from DIR), each on a free
port of 127.0.0.1, serving the files of --root; it returns once the state file
holds the ports ("name=port" lines) and the process id, or fails after a few
seconds. Each listener appends one line per connection to <root>/<name>.log:
"served <path>" when a request was answered, "dropped" when the client closed
without a request, "handshake-failed <reason>" when the TLS handshake did not
complete.

Two test runs of the same build tree may overlap: each `start` records its
caller (the ctest process) as a user and the server is shared; `stop` removes
its caller and ends the server when no live user is left. Whatever happens,
the server ends by itself --lifetime seconds (600 by default) after the last
`start`.
"""

import argparse
import fcntl
import http.server
import os
import signal
import socketserver
import ssl
import subprocess
import sys
import threading
import time

NAMES = ("trusted", "wrongname", "selfsigned", "otherca")


class Listener(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = False

    def __init__(self, name, context, root, log_path):
        self.name = name
        self.context = context
        self.root = root
        self.log_path = log_path
        self.log_lock = threading.Lock()
        super().__init__(("127.0.0.1", 0), Handler)

    def log_event(self, text):
        with self.log_lock, open(self.log_path, "a", encoding="utf-8") as log:
            log.write(text + "\n")

    # The handshake runs on the connection's own thread, so that a client
    # that never completes it holds up no other.
    def process_request_thread(self, request, client_address):
        request.settimeout(20)
        try:
            tls = self.context.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError) as error:
            reason = getattr(error, "reason", None) or type(error).__name__
            self.log_event("handshake-failed %s" % reason)
            self.shutdown_request(request)
            return
        super().process_request_thread(tls, client_address)


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def __init__(self, *args, **kwargs):
        self.answered = False
        super().__init__(*args, directory=args[2].root, **kwargs)

    def do_GET(self):
        self.answered = True
        self.server.log_event("served %s" % self.path)
        super().do_GET()

    def finish(self):
        if not self.answered:
            self.server.log_event("dropped")
        super().finish()

    def log_message(self, format, *args):
        pass


def serve(args):
    listeners = []
    for name in NAMES:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(args.certs, name + ".pem"), os.path.join(args.certs, name + ".key"))
        log_path = os.path.join(args.root, name + ".log")
        open(log_path, "w").close()
        listeners.append(Listener(name, context, args.root, log_path))
    for listener in listeners:
        threading.Thread(target=listener.serve_forever, args=(0.1,), daemon=True).start()

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    lines = ["%s=%d" % (l.name, l.server_address[1]) for l in listeners] + ["pid=%d" % os.getpid()]
    partial = args.state + ".partial"
    with open(partial, "w", encoding="ascii") as state:
        state.write("\n".join(lines) + "\n")
    os.replace(partial, args.state)
    while not stop.wait(0.2) and time.time() < read_deadline(args.state):
        pass
    with locked(args.state):
        for listener in listeners:
            listener.shutdown()
            listener.server_close()
        if read_state(args.state).get("pid") == str(os.getpid()):
            remove(args.state)


def read_state(path):
    values = {}
    try:
        with open(path, encoding="ascii") as state:
            for line in state:
                key, _, value = line.strip().partition("=")
                values[key] = value
    except OSError:
        pass
    return values


def remove(path):
    try:
        os.remove(path)
    except FileNotFoundError:
        pass


class locked:
    """Holds the lock of the state file's server against the other commands."""

    def __init__(self, state):
        self.path = state + ".lock"

    def __enter__(self):
        self.file = open(self.path, "a")
        fcntl.flock(self.file, fcntl.LOCK_EX)

    def __exit__(self, *_):
        fcntl.flock(self.file, fcntl.LOCK_UN)
        self.file.close()


def read_deadline(state):
    try:
        with open(state + ".deadline", encoding="ascii") as deadline:
            return float(deadline.read())
    except (OSError, ValueError):
        return 0.0


def is_alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except ProcessLookupError:
        return False
    except PermissionError:
        return True


def is_ours(pid):
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as cmdline:
            return os.path.basename(__file__).encode() in cmdline.read()
    except OSError:
        return False


def server_pid(state):
    try:
        pid = int(read_state(state).get("pid", "0"))
    except ValueError:
        return 0
    return pid if pid > 0 and is_ours(pid) else 0


def users_folder(state):
    return state + ".users"


def live_users(state):
    folder = users_folder(state)
    users = []
    for name in os.listdir(folder) if os.path.isdir(folder) else []:
        if name.isdigit() and is_alive(int(name)):
            users.append(name)
        else:
            remove(os.path.join(folder, name))
    return users


def start(args):
    os.makedirs(args.root, exist_ok=True)
    with locked(args.state):
        os.makedirs(users_folder(args.state), exist_ok=True)
        open(os.path.join(users_folder(args.state), str(os.getppid())), "w").close()
        with open(args.state + ".deadline", "w", encoding="ascii") as deadline:
            deadline.write("%f" % (time.time() + args.lifetime))
        if server_pid(args.state):
            print(open(args.state, encoding="ascii").read(), end="")
            return 0
        remove(args.state)
        log = open(args.state + ".out", "w")
        # Detached, and holding none of ctest's pipes, so that ctest does not
        # wait for it to end.
        process = subprocess.Popen(
            [sys.executable, os.path.abspath(__file__), "serve", "--certs", args.certs, "--root", args.root,
             "--state", args.state],
            stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            if os.path.exists(args.state):
                print(open(args.state, encoding="ascii").read(), end="")
                return 0
            if process.poll() is not None:
                break
            time.sleep(0.05)
        process.kill()
        print("the TLS test server did not start:\n" + open(args.state + ".out").read(), file=sys.stderr)
        return 1


def stop(args):
    with locked(args.state):
        remove(os.path.join(users_folder(args.state), str(os.getppid())))
        if live_users(args.state):
            return 0
        pid = server_pid(args.state)
        if pid:
            os.kill(pid, signal.SIGTERM)
    if pid:
        deadline = time.monotonic() + 10
        while is_ours(pid) and time.monotonic() < deadline:
            time.sleep(0.05)
        if is_ours(pid):
            os.kill(pid, signal.SIGKILL)
    with locked(args.state):
        if not live_users(args.state) and not server_pid(args.state):
            remove(args.state)
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", choices=("start", "stop", "serve"))
    parser.add_argument("--certs")
    parser.add_argument("--root")
    parser.add_argument("--state", required=True)
    parser.add_argument("--lifetime", type=float, default=600)
    args = parser.parse_args()
    if args.command == "start":
        return start(args)
    if args.command == "stop":
        return stop(args)
    serve(args)
    return 0


if __name__ == "__main__":
    sys.exit(main())
