#!/usr/bin/env python3
"""A stand-in for the translation service on 127.0.0.1: answers /translate_t with a page whose
first textarea holds a fixed translation, and appends each request path to a log, percent-
decoded: the platform's request object puts URLs in its own canonical form before sending.
A request under /silent/ is accepted and never answered, as a service that hangs would do.

Usage: translation_server.py PORTFILE LOGFILE (the chosen port is written to PORTFILE)."""
import http.server
import sys
import threading
import urllib.parse

PAGE = '<html><body><form><textarea name=q>翻译</textarea>' \
       '<textarea>second</textarea></form></body></html>'
NEVER = threading.Event()


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith('/silent/'):
            NEVER.wait()
            return
        with open(sys.argv[2], 'a', encoding='utf-8') as log:
            log.write(urllib.parse.unquote(self.path) + '\n')
        body = PAGE.encode('utf-8')
        self.send_response(200)
        self.send_header('Content-Type', 'text/html; charset=utf-8')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
server.daemon_threads = True
with open(sys.argv[1], 'w') as out:
    out.write(str(server.server_address[1]))
server.serve_forever()
