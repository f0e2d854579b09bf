"""A headless Chromium driven through its DevTools protocol, for the member's
page checks and benchmarks: open a file, evaluate script, set the viewport,
take screenshots, and see or refuse every network request.

Uses Debian's chromium and python3-websocket; no browser is downloaded."""

import base64
import json
import os
import shutil
import subprocess
import tempfile
import time
import urllib.request

import websocket

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"


class Browser:
    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="velistrad-page-")
        self.process = subprocess.Popen(
            [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--disable-extensions", "--mute-audio", "--hide-scrollbars",
             "--disable-dev-shm-usage",
             "--remote-debugging-port=0", "--user-data-dir=" + self.profile, "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.time() + 60
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if time.time() > deadline or self.process.poll() is not None:
                raise RuntimeError("chromium did not start")
            time.sleep(0.05)
        with open(port_file) as f:
            port = int(f.readline())
        pages = []
        while not pages:
            with urllib.request.urlopen("http://127.0.0.1:%d/json/list" % port) as r:
                pages = [t for t in json.load(r) if t["type"] == "page"]
            time.sleep(0.05)
        self.ws = websocket.create_connection(pages[0]["webSocketDebuggerUrl"], timeout=120)
        self.next_id = 0
        self.events = []
        self.requests = []
        self.fail_requests = False
        self.send("Page.enable")
        self.send("Runtime.enable")
        self.send("Network.enable")

    def close(self):
        try:
            self.ws.close()
        finally:
            self.process.kill()
            self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *args):
        self.close()

    def _handle(self, message):
        method = message.get("method")
        if method == "Network.requestWillBeSent":
            self.requests.append(message["params"]["request"]["url"])
        elif method == "Fetch.requestPaused":
            # The page's own file loads; anything else fails as with no network.
            params = message["params"]
            if params["request"]["url"].startswith("file://"):
                self.send("Fetch.continueRequest", requestId=params["requestId"], wait=False)
            else:
                self.requests.append(params["request"]["url"])
                self.send("Fetch.failRequest", requestId=params["requestId"],
                          errorReason="InternetDisconnected", wait=False)
        elif method == "Runtime.exceptionThrown":
            self.events.append(("exception", message["params"]["exceptionDetails"]))
        elif method:
            self.events.append((method, message.get("params")))

    def send(self, method, wait=True, **params):
        self.next_id += 1
        mine = self.next_id
        self.ws.send(json.dumps({"id": mine, "method": method, "params": params}))
        if not wait:
            return None
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == mine:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result")
            self._handle(message)

    def wait_for(self, method, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            for i, (name, params) in enumerate(self.events):
                if name == method:
                    del self.events[i]
                    return params
            self._handle(json.loads(self.ws.recv()))
        raise RuntimeError("no " + method)

    def refuse_network(self):
        """Every request the page makes fails, as with no network at all."""
        self.send("Fetch.enable", patterns=[{"urlPattern": "*"}])

    def open(self, path):
        self.events = [e for e in self.events if e[0] != "Page.loadEventFired"]
        self.send("Page.navigate", url="file://" + os.path.abspath(path))
        self.wait_for("Page.loadEventFired")

    def exceptions(self):
        return [e[1] for e in self.events if e[0] == "exception"]

    def eval(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def viewport(self, width, height, mobile):
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=mobile)
        self.send("Emulation.setTouchEmulationEnabled", enabled=mobile)

    def reduced_motion(self, on):
        self.send("Emulation.setEmulatedMedia",
                  features=[{"name": "prefers-reduced-motion", "value": "reduce" if on else ""}])

    def screenshot(self, path):
        data = self.send("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))

    def key(self, key, code, shift=False):
        modifiers = 8 if shift else 0
        for kind in ("rawKeyDown", "keyUp"):
            self.send("Input.dispatchKeyEvent", type=kind, key=key, code=code,
                      windowsVirtualKeyCode={"ArrowLeft": 37, "ArrowRight": 39, "Home": 36,
                                             "End": 35, " ": 32}[key],
                      modifiers=modifiers)

    def touch_drag(self, x0, y, x1, steps=8):
        self.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x0, "y": y}])
        for i in range(1, steps + 1):
            x = x0 + (x1 - x0) * i / steps
            self.send("Input.dispatchTouchEvent", type="touchMove", touchPoints=[{"x": x, "y": y}])
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
