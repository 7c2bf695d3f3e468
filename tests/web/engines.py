"""The three browser engines from Debian's packages, each behind the same few
operations: open a page, run a script, send W3C input actions, size the
viewport. Chromium and WebKitGTK speak WebDriver through Selenium; Firefox
ESR speaks WebDriver BiDi over a WebSocket of its own."""
import base64
import inspect
import json
import os
import re
import shutil
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.remote.remote_connection import RemoteConnection

# A driver that stops answering fails the test instead of holding it.
RemoteConnection.set_timeout(120)

ENGINES = ("chromium", "firefox", "webkit")

CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    # Colours as the files hold them, not converted for a screen.
    "--force-color-profile=srgb", "--window-size=900,1000",
]

# Firefox stays off the network: no updates, reports or lists to fetch.
FIREFOX_PREFS = {
    "app.update.disabledForTesting": True, "browser.safebrowsing.update.enabled": False,
    "datareporting.policy.dataSubmissionEnabled": False, "toolkit.telemetry.enabled": False,
    "network.captive-portal-service.enabled": False, "network.connectivity-service.enabled": False,
    "extensions.update.enabled": False, "browser.startup.homepage_override.mstone": "ignore",
}

MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"


def as_json(body):
    """A script that runs a function body and returns its value as JSON."""
    return "JSON.stringify((function () { %s })())" % body


class Classic:
    """An engine driven through a Selenium WebDriver session."""

    def __init__(self, driver, after=None):
        self.driver = driver
        self.after = after

    def open(self, url):
        self.driver.get(url)

    def run(self, body):
        return json.loads(self.driver.execute_script("return " + as_json(body) + ";"))

    def act(self, *sources):
        self.driver.execute("actions", {"actions": list(sources)})

    def release(self):
        self.driver.execute("clearActionState")

    def resize(self, width, height):
        self.driver.set_window_size(width, height)

    def screenshot(self, path):
        self.driver.save_screenshot(path)

    def quit(self):
        self.driver.quit()
        if self.after:
            self.after()


class Bidi:
    """Firefox driven through WebDriver BiDi."""

    def __init__(self, window=(900, 1000)):
        self.profile = tempfile.mkdtemp(prefix="plant-firefox-")
        with open(os.path.join(self.profile, "user.js"), "w") as prefs:
            for name, value in FIREFOX_PREFS.items():
                prefs.write("user_pref(%s, %s);\n" % (json.dumps(name), json.dumps(value)))
        self.log = open(os.path.join(self.profile, "stderr.log"), "w+")
        self.process = subprocess.Popen(
            ["firefox-esr", "--headless", "--no-remote", "--profile", self.profile, "--remote-debugging-port=0",
             "about:blank"], stdout=subprocess.DEVNULL, stderr=self.log)
        address = self._address(timeout=60)
        import websocket   # only Firefox needs it: the benchmark runs without
        self.closed = (websocket.WebSocketException, OSError)
        # Firefox refuses a handshake that names an origin.
        self.socket = websocket.create_connection(address + "/session", suppress_origin=True, timeout=300)
        self.sequence = 0
        self.call("session.new", capabilities={})
        self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]
        self.resize(*window)

    def _address(self, timeout):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            self.log.seek(0)
            found = re.search(r"WebDriver BiDi listening on (ws://\S+)", self.log.read())
            if found:
                return found.group(1)
            if self.process.poll() is not None:
                break
            time.sleep(0.1)
        self.log.seek(0)
        raise RuntimeError("Firefox did not start its WebDriver BiDi server:\n" + self.log.read())

    def call(self, method, **params):
        self.sequence += 1
        self.socket.send(json.dumps({"id": self.sequence, "method": method, "params": params}))
        while True:
            answer = json.loads(self.socket.recv())
            if answer.get("id") == self.sequence:
                if answer.get("type") == "error":
                    raise RuntimeError("%s: %s: %s" % (method, answer.get("error"), answer.get("message")))
                return answer["result"]

    def open(self, url):
        self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def run(self, body):
        result = self.call("script.evaluate", expression=as_json(body), target={"context": self.context},
                           awaitPromise=False)
        if result["type"] == "exception":
            raise RuntimeError("script failed: %s" % result["exceptionDetails"].get("text"))
        return json.loads(result["result"]["value"])

    def act(self, *sources):
        self.call("input.performActions", context=self.context, actions=list(sources))

    def release(self):
        self.call("input.releaseActions", context=self.context)

    def resize(self, width, height):
        self.call("browsingContext.setViewport", context=self.context, viewport={"width": width, "height": height})

    def screenshot(self, path):
        data = self.call("browsingContext.captureScreenshot", context=self.context)["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))

    def quit(self):
        try:
            self.call("session.end")
        except (RuntimeError, *self.closed):
            pass
        self.socket.close()
        self.process.kill()
        self.process.wait()
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)


class Xvfb:
    """An X server of its own on a free display, ":N" in display. It never
    resets, and the pipe it names its display on stays open while it runs:
    it writes the number and the line end apart, and a reader gone between
    the two ends it."""

    def __init__(self):
        self.log = tempfile.TemporaryFile()
        self.read, write = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                        "-nolisten", "tcp", "-noreset"],
                                       pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=self.log)
        os.close(write)
        number = os.read(self.read, 64).decode().strip()
        self.display = ":" + number
        socket = "/tmp/.X11-unix/X" + number
        if not number or not wait_until(lambda: os.path.exists(socket) or self.server.poll() is not None) \
                or self.server.poll() is not None:
            self.log.seek(0)
            raise RuntimeError("Xvfb did not start: " + self.log.read().decode(errors="replace"))

    def close(self):
        self.server.kill()
        self.server.wait()
        os.close(self.read)
        self.log.close()


def wait_until(test, timeout=20.0, step=0.05):
    """The test's first true value, or its last value once time is up."""
    end = time.monotonic() + timeout
    while True:
        value = test()
        if value or time.monotonic() > end:
            return value
        time.sleep(step)


def chromium(phone=None, waits=True):
    """Headless Chromium; phone=(width, height) emulates a touch screen of
    that many CSS pixels at three device pixels each. Unless waits, the
    driver never waits for a page to load before it goes on."""
    options = webdriver.ChromeOptions()
    if not waits:
        options.page_load_strategy = "none"
    options.binary_location = "/usr/bin/chromium"
    for flag in CHROMIUM_FLAGS:
        options.add_argument(flag)
    if phone:
        options.add_experimental_option("mobileEmulation", {
            "deviceMetrics": {"width": phone[0], "height": phone[1], "pixelRatio": 3.0, "touch": True}})
    return Classic(webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options))


def webkit():
    """WebKitGTK's MiniBrowser under an Xvfb of its own."""
    server = Xvfb()
    os.environ["DISPLAY"] = server.display
    options = webdriver.WebKitGTKOptions()
    options.binary_location = MINIBROWSER
    options.add_argument("--automation")
    try:
        # Selenium 4.8 (Debian 12) names the driver's path; later ones take a Service.
        if "service" in inspect.signature(webdriver.WebKitGTK.__init__).parameters:
            from selenium.webdriver.webkitgtk.service import Service as WebKitService
            driver = webdriver.WebKitGTK(service=WebKitService("/usr/bin/WebKitWebDriver"), options=options)
        else:
            driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)
    except Exception:
        server.close()
        raise
    engine = Classic(driver, after=server.close)
    engine.resize(900, 1000)
    return engine


def start(name):
    return {"chromium": chromium, "firefox": Bidi, "webkit": webkit}[name]()
