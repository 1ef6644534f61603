#!/usr/bin/python3
"""An RFC 3161 time-stamping server on 127.0.0.1 for the signing test: each
POSTed query is answered by `openssl ts -reply` with the given configuration.
Prints its address, then serves until killed.

    timestamp_server.py OPENSSL_TS_CONFIG
"""
import http.server
import subprocess
import sys

CONFIG = sys.argv[1]


class TimeStamps(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers['Content-Length']))
        reply = subprocess.run(['openssl', 'ts', '-reply', '-config', CONFIG, '-queryfile', '/dev/stdin',
                                '-out', '/dev/stdout'], input=query, capture_output=True,
                               check=True).stdout
        self.send_response(200)
        self.send_header('Content-Type', 'application/timestamp-reply')
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *_):
        pass


server = http.server.HTTPServer(('127.0.0.1', 0), TimeStamps)
print(f'http://127.0.0.1:{server.server_port}/', flush=True)
server.serve_forever()
