"""The web page under headless Chromium, driven through the DevTools protocol.

Serves a folder over HTTP (the .wasm does not load from file://), starts
Debian's chromium with SwiftShader's WebGL2, and evaluates script in the page.
Every wait is bounded. Only the processes started here are stopped, by PID.
"""
import asyncio
import base64
import contextlib
import http.server
import json
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time
import urllib.request

import websockets

CHROMIUM = shutil.which('chromium') or '/usr/bin/chromium'


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.js': 'text/javascript'}

    def log_message(self, *args):
        pass


@contextlib.contextmanager
def serve(folder):
    """An HTTP server of `folder` on a free port, in a thread of this process."""
    handler = lambda *a, **k: QuietHandler(*a, directory=folder, **k)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield 'http://127.0.0.1:%d/' % server.server_address[1]
    finally:
        server.shutdown()
        server.server_close()


class Browser:
    """One headless Chromium with one page; every call waits at most `timeout`."""

    def __init__(self, width=1280, height=900, timeout=30):
        self.timeout = timeout
        self.profile = tempfile.mkdtemp(prefix='fourview-chromium-')
        self.port = free_port()
        self.process = subprocess.Popen(
            [CHROMIUM, '--headless=new', '--no-sandbox', '--use-angle=swiftshader',
             '--enable-unsafe-swiftshader', '--disable-gpu-sandbox', '--no-first-run',
             '--disable-extensions', '--hide-scrollbars', '--mute-audio',
             '--remote-debugging-port=%d' % self.port, '--user-data-dir=' + self.profile,
             '--window-size=%d,%d' % (width, height), 'about:blank'],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.loop = asyncio.new_event_loop()
        asyncio.set_event_loop(self.loop)
        self.next_id = 0
        self.events = []
        self.socket = None
        deadline = time.monotonic() + timeout
        while True:
            try:
                with urllib.request.urlopen('http://127.0.0.1:%d/json/list' % self.port, timeout=2) as r:
                    pages = [t for t in json.load(r) if t.get('type') == 'page']
                if pages:
                    break
            except OSError:
                pass
            if time.monotonic() > deadline or self.process.poll() is not None:
                self.close()
                raise RuntimeError('chromium did not start')
            time.sleep(0.1)
        self.socket = self.loop.run_until_complete(
            websockets.connect(pages[0]['webSocketDebuggerUrl'], max_size=1 << 28))
        for domain in ('Runtime', 'Page', 'Log'):
            self.send(domain + '.enable')

    def _run(self, coroutine):
        return self.loop.run_until_complete(asyncio.wait_for(coroutine, self.timeout))

    async def _send(self, method, params):
        self.next_id += 1
        ident = self.next_id
        await self.socket.send(json.dumps({'id': ident, 'method': method, 'params': params}))
        while True:
            message = json.loads(await self.socket.recv())
            if message.get('id') == ident:
                if 'error' in message:
                    raise RuntimeError('%s: %s' % (method, message['error']))
                return message.get('result', {})
            self.events.append(message)

    def send(self, method, **params):
        return self._run(self._send(method, params))

    def evaluate(self, expression):
        """The value of a script expression (awaited if a promise)."""
        result = self.send('Runtime.evaluate', expression=expression, returnByValue=True,
                           awaitPromise=True)
        if 'exceptionDetails' in result:
            raise RuntimeError('script failed: %s' % json.dumps(result['exceptionDetails'])[:600])
        return result['result'].get('value')

    def wait_for(self, expression, timeout=None):
        """Waits until the expression is truthy; its value, or an error at the deadline."""
        deadline = time.monotonic() + (timeout or self.timeout)
        while time.monotonic() < deadline:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.05)
        raise RuntimeError('waited in vain for: ' + expression)

    def open(self, url):
        self.send('Page.navigate', url=url)

    def errors(self):
        """The console errors and uncaught exceptions seen so far."""
        found = []
        for e in self.events:
            method, params = e.get('method'), e.get('params', {})
            if method == 'Runtime.exceptionThrown':
                found.append(json.dumps(params.get('exceptionDetails', {}))[:400])
            elif method == 'Runtime.consoleAPICalled' and params.get('type') == 'error':
                found.append(' '.join(str(a.get('value', a.get('description'))) for a in params.get('args', [])))
            elif method == 'Log.entryAdded' and params.get('entry', {}).get('level') == 'error':
                found.append(params['entry'].get('text', ''))
        return found

    def screenshot(self, path):
        data = self.send('Page.captureScreenshot', format='png')['data']
        with open(path, 'wb') as f:
            f.write(base64.b64decode(data))

    def canvas_rgb(self):
        """The canvas's pixels, rows from the top, as (width, height, bytes of RGB)."""
        value = self.evaluate('''(() => {
            const c = document.getElementById('graph');
            const gl = c.getContext('webgl2');
            const w = c.width, h = c.height, p = new Uint8Array(w * h * 4);
            gl.readPixels(0, 0, w, h, gl.RGBA, gl.UNSIGNED_BYTE, p);
            const rgb = new Uint8Array(w * h * 3);
            for (let y = 0; y < h; ++y)
              for (let x = 0; x < w; ++x)
                for (let k = 0; k < 3; ++k) rgb[3 * ((h - 1 - y) * w + x) + k] = p[4 * (y * w + x) + k];
            let s = '';
            for (let i = 0; i < rgb.length; i += 0x8000) s += String.fromCharCode.apply(null, rgb.subarray(i, i + 0x8000));
            return [w, h, btoa(s)];
        })()''')
        return value[0], value[1], base64.b64decode(value[2])

    def close(self):
        if self.socket is not None:
            with contextlib.suppress(Exception):
                self._run(self.socket.close())
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(10)
        self.loop.close()
        shutil.rmtree(self.profile, ignore_errors=True)
