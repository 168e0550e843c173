#!/usr/bin/env python3
"""A loopback HTTP(S) server for the network tests.

Serves the files of --root and a few paths that misbehave on purpose. Prints "PORT n" once it
listens on 127.0.0.1, then serves until it is terminated.

  /status/CODE                 that status, body "status CODE"
  /redirect?to=TARGET          302 to TARGET
  /loop/N                      302 to /loop/N+1, for ever
  /stall?bytes=N               announces 1000000 bytes, sends N, then sends nothing
  /big?bytes=N[&length=0]      N bytes of "x", announced unless length=0
  /drip?bytes=N&chunk=K&delay=MS  N bytes in chunks of K with a pause between them
  anything else                the file below --root (sent as ?type=CONTENT-TYPE), or 404

With --make-certs DIR it writes a test certificate authority (ca.pem), a server certificate
for 127.0.0.1 signed by it (server.pem, server.key) and a second, unrelated authority
(other-ca.pem), then exits.
"""

import argparse
import http.server
import os
import socketserver
import ssl
import subprocess
import sys
import time
import urllib.parse


def make_certs(folder):
    def run(*args):
        subprocess.run(["openssl", *args], check=True, cwd=folder,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    ca_ext = ["-addext", "basicConstraints=critical,CA:TRUE",
              "-addext", "keyUsage=critical,keyCertSign,cRLSign"]
    run("req", "-x509", *ec, "-keyout", "ca.key", "-out", "ca.pem", "-days", "30",
        "-subj", "/CN=Quenmar Test CA", *ca_ext)
    run("req", "-x509", *ec, "-keyout", "other-ca.key", "-out", "other-ca.pem", "-days", "30",
        "-subj", "/CN=Unrelated Test CA", *ca_ext)
    run("req", *ec, "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1")
    with open(os.path.join(folder, "server.ext"), "w") as ext:
        ext.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n"
                  "extendedKeyUsage=serverAuth\n")
    run("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
        "-CAcreateserial", "-out", "server.pem", "-days", "30", "-extfile", "server.ext")


class Handler(http.server.BaseHTTPRequestHandler):
    root = "."

    def log_message(self, *args):
        pass

    def setup(self):
        super().setup()
        if isinstance(self.connection, ssl.SSLSocket):
            self.connection.settimeout(10)
            self.connection.do_handshake()

    def handle(self):
        try:
            super().handle()
        except (ssl.SSLError, ConnectionError, TimeoutError, OSError):
            pass

    def send_body(self, status, body, length=True, content_type="application/octet-stream"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        if length:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        try:
            self.route()
        except (KeyError, ValueError):
            self.send_body(400, b"bad test request", content_type="text/plain")

    def route(self):
        url = urllib.parse.urlsplit(self.path)
        query = {k: v[-1] for k, v in urllib.parse.parse_qs(url.query).items()}
        parts = url.path.strip("/").split("/")
        if parts[0] == "status" and len(parts) == 2:
            code = int(parts[1])
            self.send_body(code, ("status %d" % code).encode(), content_type="text/plain")
        elif parts[0] == "redirect":
            self.send_response(302)
            self.send_header("Location", query["to"])
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif parts[0] == "loop" and len(parts) == 2:
            self.send_response(302)
            self.send_header("Location", "/loop/%d" % (int(parts[1]) + 1))
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif parts[0] == "stall":
            self.send_response(200)
            self.send_header("Content-Length", "1000000")
            self.end_headers()
            self.wfile.write(b"x" * int(query.get("bytes", "0")))
            self.wfile.flush()
            time.sleep(60)
        elif parts[0] == "big":
            body = b"x" * int(query["bytes"])
            self.send_body(200, body, length=query.get("length", "1") != "0")
        elif parts[0] == "drip":
            total, chunk = int(query["bytes"]), int(query["chunk"])
            delay = int(query.get("delay", "50")) / 1000.0
            self.send_response(200)
            self.send_header("Content-Length", str(total))
            self.end_headers()
            sent = 0
            while sent < total:
                part = min(chunk, total - sent)
                self.wfile.write(b"d" * part)
                self.wfile.flush()
                sent += part
                time.sleep(delay)
        else:
            path = os.path.realpath(os.path.join(self.root, url.path.lstrip("/")))
            if not path.startswith(os.path.realpath(self.root) + os.sep) or not os.path.isfile(path):
                self.send_body(404, b"not found", content_type="text/plain")
                return
            with open(path, "rb") as f:
                self.send_body(200, f.read(), content_type=query.get("type", "application/octet-stream"))


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass  # refused handshakes are what some tests expect


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=".")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--make-certs")
    args = parser.parse_args()
    if args.make_certs:
        make_certs(args.make_certs)
        return
    Handler.root = args.root
    server = Server(("127.0.0.1", 0), Handler)
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True,
                                            do_handshake_on_connect=False)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
