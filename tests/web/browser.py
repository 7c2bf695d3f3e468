"""The web page in Debian's headless Chromium, driven through WebDriver with
real input events: a small server for the page's folder, the page's text and
canvas pixels, and the user's actions in the program's window coordinates."""
import base64
import functools
import http.server
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.by import By

W, H = 600, 400

CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    # Colours as the files hold them, not converted for a screen.
    "--force-color-profile=srgb", "--window-size=900,1000",
]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass


class Server:
    """Serves a folder on a free port of 127.0.0.1 until closed."""

    def __init__(self, folder):
        handler = functools.partial(QuietHandler, directory=folder)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def chromium():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in CHROMIUM_FLAGS:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def wait_until(test, timeout=20.0, step=0.05):
    end = time.monotonic() + timeout
    while True:
        value = test()
        if value or time.monotonic() > end:
            return value
        time.sleep(step)


class Page:
    """One open page of the program."""

    def __init__(self, driver, url):
        self.driver = driver
        driver.get(url)
        self.canvas = driver.find_element(By.ID, "canvas")
        rect = driver.execute_script("var r = arguments[0].getBoundingClientRect();"
                                     "return [r.left, r.top, r.width, r.height];", self.canvas)
        self.left, self.top = int(rect[0]), int(rect[1])
        assert rect == [self.left, self.top, W, H], "canvas not on whole pixels at 600 x 400: %r" % rect

    def lines(self):
        return self.driver.execute_script(
            "return Array.from(document.getElementById('output').children, e => e.textContent);")

    def status(self):
        return self.driver.find_element(By.ID, "status").text

    def wait_for_lines(self, count, timeout=20.0):
        return wait_until(lambda: len(self.lines()) >= count and self.lines(), timeout)

    def pixels(self):
        """The canvas as RGB bytes, row by row."""
        data = self.driver.execute_script("""
            var d = arguments[0].getContext('2d').getImageData(0, 0, 600, 400).data, s = '';
            for (var i = 0; i < d.length; i += 0x8000)
              s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));
            return btoa(s);""", self.canvas)
        rgba = base64.b64decode(data)
        return bytes(b for i, b in enumerate(rgba) if i % 4 != 3)

    def settled(self, timeout=20.0):
        """The canvas once it shows a frame (never of one colour) and has not
        changed for a quarter of a second: many animation frames."""
        end = time.monotonic() + timeout
        last = wait_until(lambda: (p := self.pixels()) != p[:3] * (len(p) // 3) and p, timeout) or self.pixels()
        same = 0
        while same < 5 and time.monotonic() < end:
            time.sleep(0.05)
            now = self.pixels()
            same = same + 1 if now == last else 0
            last = now
        return last

    def move(self, x, y):
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(self.left + x, self.top + y)
        actions.perform()

    def press(self, button=1):
        """Button 1, 2 or 3, pressed and released where the mouse is."""
        actions = ActionBuilder(self.driver)
        actions.pointer_action.pointer_down(button - 1).pointer_up(button - 1)
        actions.perform()

    def wheel(self, x, y, up):
        origin = ScrollOrigin.from_viewport(self.left + x, self.top + y)
        ActionChains(self.driver).scroll_from_origin(origin, 0, -100 if up else 100).perform()

    def key(self, keys="q"):
        ActionChains(self.driver).send_keys(keys).perform()
