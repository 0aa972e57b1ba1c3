#!/usr/bin/env python3
"""The update server of the demonstration: Python's own HTTP server on
127.0.0.1, on a free port, serving one folder.

  update_server.py ROOT --port-file FILE --log FILE [--pace SECONDS]

Writes the port it listens on into FILE once it is ready, and one line per
request into the log ("GET <path> <status> <user agent>"). Files below
/files/ are sent in small pieces spread over --pace seconds, so that a
download lasts long enough to be watched. Ends on SIGTERM or SIGINT.
"""
import argparse
import functools
import http.server
import os
import signal
import sys
import threading
import time
import urllib.parse


class UpdateRequestHandler(http.server.SimpleHTTPRequestHandler):
    pace = 0.0
    log_path = None
    log_lock = threading.Lock()

    def copyfile(self, source, outputfile):
        if not self.path.startswith("/files/") or self.pace <= 0:
            return super().copyfile(source, outputfile)
        data = source.read()
        pieces = 10
        size = max(1, (len(data) + pieces - 1) // pieces)
        for start in range(0, len(data), size):
            outputfile.write(data[start:start + size])
            outputfile.flush()
            time.sleep(self.pace / pieces)

    def log_request(self, code="-", size="-"):
        path = urllib.parse.unquote(getattr(self, "path", "-"))
        code = int(code) if isinstance(code, int) else code
        headers = getattr(self, "headers", None)
        agent = headers.get("User-Agent", "") if headers else ""
        with self.log_lock, open(self.log_path, "a", encoding="utf-8") as log:
            log.write("%s %s %s %s\n" % (self.command, path, code, agent))

    def log_message(self, format, *args):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("root")
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--pace", type=float, default=0.0)
    args = parser.parse_args()

    UpdateRequestHandler.pace = args.pace
    UpdateRequestHandler.log_path = os.path.abspath(args.log)
    handler = functools.partial(UpdateRequestHandler, directory=os.path.abspath(args.root))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True

    def stop(signum, frame):
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    ready = args.port_file + ".part"
    with open(ready, "w") as port_file:
        port_file.write("%d\n" % server.server_address[1])
    os.replace(ready, args.port_file)
    server.serve_forever()
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
