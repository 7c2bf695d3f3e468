"""The web page in a browser engine (engines.py), driven with real input
events: a small server for the page's folder, the page's text and canvas
pixels, and the user's actions in the program's window coordinates."""
import base64
import functools
import http.server
import threading
import time

from engines import wait_until  # noqa: F401 (for the scripts and tests that use this module)

W, H = 600, 400


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass


class Server:
    """Serves a folder on a free port of 127.0.0.1 until closed."""

    def __init__(self, folder, handler=QuietHandler):
        handler = functools.partial(handler, directory=folder)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def pointer(kind, *steps):
    return {"type": "pointer", "id": kind, "parameters": {"pointerType": kind}, "actions": list(steps)}


class Page:
    """One open page of the program. Window coordinates map to the viewport
    through the canvas's place and scale; at full size that must be exactly
    600 x 400 CSS pixels on whole pixels."""

    def __init__(self, engine, url, full_size=True):
        """Opens url, or with None takes the page the engine shows."""
        self.engine = engine
        if url:
            engine.open(url)
        # The mouse from an earlier page is let go and put off the canvas, so
        # that a move to where it was is a move.
        engine.release()
        engine.act(pointer("mouse", {"type": "pointerMove", "duration": 0, "x": 0, "y": 0, "origin": "viewport"}))
        self.left, self.top, self.width, self.height = self.canvas_box()
        if full_size:
            assert [self.width, self.height] == [W, H] and self.left == int(self.left) and \
                self.top == int(self.top), "canvas not on whole pixels at 600 x 400: %r" % [
                    self.left, self.top, self.width, self.height]
        self.wheels = 0

    def canvas_box(self):
        """The canvas's left, top, width and height in the viewport now."""
        return self.engine.run("var r = document.getElementById('canvas').getBoundingClientRect();"
                               "return [r.left, r.top, r.width, r.height];")

    def at(self, x, y):
        """The viewport point over window pixel (x, y)."""
        return {"x": int(self.left + (x + 0.5) * self.width / W), "y": int(self.top + (y + 0.5) * self.height / H),
                "origin": "viewport"}

    def lines(self):
        """The lines the output shows: the newest ones."""
        return self.engine.run("return Array.from(document.getElementById('output').children, e => e.textContent);")

    def printed(self):
        """How many lines the program has printed, shown or not."""
        return self.engine.run("return window.printedLines || 0;")

    def earlier(self):
        """The note on the lines no longer shown, if it is shown."""
        return self.engine.run("var e = document.getElementById('earlier'); return e.hidden ? null : e.textContent;")

    def status(self):
        return self.engine.run("return document.getElementById('status').textContent;")

    def said(self):
        """What the page last said of the highlight and of a press."""
        return self.engine.run("return document.getElementById('highlight-said').textContent;")

    def marked(self):
        """The marked symbol of the newest string, as its position and itself, or None."""
        return self.engine.run("""
            var m = document.querySelector('#output mark');
            if (!m) return null;
            var r = document.createRange();
            r.setStart(document.getElementById('output').lastElementChild, 0);
            r.setEnd(m, 0);
            return [r.toString().length, m.textContent];""")

    def audit(self, axe_source):
        """axe-core's violations of WCAG 2.0 to 2.2 A and AA and of its best
        practices on the page as it is, as "rule: node" strings."""
        self.engine.run(axe_source + "; window.axeFound = null; axe.run(document, {runOnly: {type: 'tag', values: "
                        "['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice']}})"
                        ".then(function (r) { window.axeFound = [[].concat.apply([], r.violations.map(function (v) {"
                        " return v.nodes.map(function (n) { return v.id + ': ' + n.target.join(' '); }); }))]; },"
                        " function (e) { window.axeFound = [['axe failed: ' + e]]; }); return 0;")
        return (wait_until(lambda: self.engine.run("return window.axeFound;"), 60) or [["axe gave no answer"]])[0]

    def wait_for_lines(self, count, timeout=20.0):
        """The lines shown once count lines in all have been printed."""
        return wait_until(lambda: self.printed() >= count and self.lines(), timeout)

    def pixels(self):
        """The canvas as RGB bytes, row by row."""
        rgba = base64.b64decode(self.engine.run("""
            var d = document.getElementById('canvas').getContext('2d').getImageData(0, 0, 600, 400).data, s = '';
            for (var i = 0; i < d.length; i += 0x8000)
              s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));
            return btoa(s);"""))
        return bytes(b for i, b in enumerate(rgba) if i % 4 != 3)

    def frames(self):
        """Animation frames the page has had since the count began."""
        return self.engine.run("""
            if (!window.animationFrames) {
              window.animationFrames = 1;
              (function tick() { window.animationFrames++; requestAnimationFrame(tick); })();
            }
            return window.animationFrames;""")

    def settled(self, timeout=20.0):
        """The canvas once it shows a frame (never of one colour) that has
        stayed the same for at least a quarter of a second and four
        animation frames: a slow engine cannot pass for a settled one."""
        end = time.monotonic() + timeout
        last = wait_until(lambda: (p := self.pixels()) != p[:3] * (len(p) // 3) and p, timeout) or self.pixels()
        since, same = self.frames(), 0
        while (same < 5 or self.frames() < since + 4) and time.monotonic() < end:
            time.sleep(0.05)
            now = self.pixels()
            if now == last:
                same += 1
            else:
                since, same = self.frames(), 0
            last = now
        return last

    def move(self, x, y):
        self.engine.act(pointer("mouse", {"type": "pointerMove", "duration": 0, **self.at(x, y)}))

    def press(self, button=1, times=1):
        """Button 1, 2 or 3, pressed and released where the mouse is."""
        self.engine.act(pointer("mouse", *[{"type": "pointerDown", "button": button - 1},
                                           {"type": "pointerUp", "button": button - 1}] * times))

    def click(self, element):
        """The first button pressed and released on the middle of the element of that id."""
        x, y = self.engine.run("var r = document.getElementById(%r).getBoundingClientRect();"
                               "return [r.left + r.width / 2, r.top + r.height / 2];" % element)
        self.engine.act(pointer("mouse", {"type": "pointerMove", "duration": 0, "x": int(x), "y": int(y),
                                          "origin": "viewport"},
                                {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}))

    def wheel(self, x, y, up):
        # A new source each step: WebKitWebDriver sends a source's change
        # since its previous scroll.
        self.wheels += 1
        self.engine.act({"type": "wheel", "id": "wheel%d" % self.wheels, "actions": [
            {"type": "scroll", "deltaX": 0, "deltaY": -100 if up else 100, "duration": 0, **self.at(x, y)}]})

    def key(self, value="q"):
        self.engine.act({"type": "key", "id": "keyboard", "actions": [{"type": "keyDown", "value": value},
                                                                      {"type": "keyUp", "value": value}]})

    def tap(self, x, y):
        """A finger down and up at (x, y), with no motion before."""
        self.engine.act(pointer("touch", {"type": "pointerMove", "duration": 0, **self.at(x, y)},
                                {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}))

    def point(self, x, y):
        """The exact viewport point, fractions kept, at the middle of window
        pixel (x, y), wherever the canvas is now."""
        left, top, width, height = self.canvas_box()
        return {"x": left + (x + 0.5) * width / W, "y": top + (y + 0.5) * height / H}

    def fingers(self, kind, *pixels, ids=None):
        """Chromium only: a DevTools touch event of kind touchStart,
        touchMove, touchEnd or touchCancel, with a finger still down at each
        window pixel given, numbered 0, 1, ... unless ids says otherwise."""
        points = [dict(self.point(*p), id=i) for i, p in zip(ids or range(len(pixels)), pixels)]
        self.engine.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})

    def drag(self, path):
        """A finger down at the first point, through the others, held there."""
        steps = [{"type": "pointerMove", "duration": 0, **self.at(*path[0])}, {"type": "pointerDown", "button": 0}]
        steps += [{"type": "pointerMove", "duration": 50, **self.at(x, y)} for x, y in path[1:]]
        self.engine.act(pointer("touch", *steps))

    def lift(self):
        """Lifts the finger, and lets go of every key and button held."""
        self.engine.release()
