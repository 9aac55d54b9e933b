#!/usr/bin/env python3
"""Serves the browser page's folder (make web-serve, and the browser tests).

A static server like python3 -m http.server, that answers a request with the
compressed copy `make web` wrote beside a file (NAME.gz) where the browser
accepts gzip, names the types the page needs (WebAssembly, the manifest) and
serves several requests at once, as a web server in front of the page would.

Usage: serve_site.py FOLDER PORT [--bind ADDRESS]
"""
import argparse
import functools
import http.server
import os
import sys


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        '.wasm': 'application/wasm',
        '.js': 'text/javascript',
        '.webmanifest': 'application/manifest+json',
        '.woff2': 'font/woff2',
        '.json': 'application/json',
    }

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path) and self.path.split('?', 1)[0].endswith('/'):
            path = os.path.join(path, 'index.html')
        compressed = path + '.gz'
        accepts = 'gzip' in self.headers.get('Accept-Encoding', '')
        if not accepts or os.path.isdir(path) or not os.path.isfile(compressed):
            return super().send_head()
        try:
            f = open(compressed, 'rb')
        except OSError:
            return super().send_head()
        try:
            size = os.fstat(f.fileno()).st_size
            self.send_response(200)
            self.send_header('Content-Type', self.guess_type(path))
            self.send_header('Content-Encoding', 'gzip')
            self.send_header('Content-Length', str(size))
            self.send_header('Vary', 'Accept-Encoding')
            self.end_headers()
            return f
        except Exception:
            f.close()
            raise

    def end_headers(self):
        # Every answer is checked again: the service worker keeps the copies
        # for offline use, the browser's cache must not hide a new build.
        self.send_header('Cache-Control', 'no-cache')
        super().end_headers()

    def log_message(self, format, *args):
        pass


def main():
    parser = argparse.ArgumentParser(description='Serves the browser page with its compressed copies.')
    parser.add_argument('folder')
    parser.add_argument('port', type=int)
    parser.add_argument('--bind', default='127.0.0.1')
    args = parser.parse_args()
    if not os.path.isfile(os.path.join(args.folder, 'index.html')):
        sys.exit('serve_site.py: no page in ' + args.folder + ' (make web)')
    handler = functools.partial(SiteHandler, directory=args.folder)
    with http.server.ThreadingHTTPServer((args.bind, args.port), handler) as server:
        server.serve_forever()


if __name__ == '__main__':
    main()
