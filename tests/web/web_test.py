#!/usr/bin/python3
"""The web page against the desktop program, in one browser engine: the same
sessions of user actions, the same strings printed and the same frames,
pixel for pixel; in Chromium also a phone's touch screen.
Usage: web_test.py --page BUILD_WEB_DIR --session E2E_SESSION --engine NAME"""
import argparse
import base64
import io
import os
import pathlib
import random
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zlib

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser  # noqa: E402
import engines  # noqa: E402

START_UP = "aa[+aa[+aa[+ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao"
GROWN_AT_212 = "aa[+aa[+aa[+aa[+ao]-ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao"
RED = b"\xff\x00\x00"

args = None


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    header = b"P6\n600 400\n255\n"
    assert data.startswith(header), path
    return data[len(header):]


def desktop(script):
    """Runs the script on the desktop program: its printed lines, and the
    frames that its 'frame' commands asked for, in order."""
    with tempfile.TemporaryDirectory() as folder:
        commands, frames = [], []
        for step in script:
            if step[0] == "frame":
                frames.append(os.path.join(folder, "frame%d.ppm" % len(frames)))
                step = ("frame", frames[-1])
            commands.append(" ".join(str(s) for s in step))
        run = subprocess.run([args.session], input="\n".join(commands) + "\n", capture_output=True, text=True,
                             timeout=300)
        if run.returncode != 0:
            raise AssertionError("e2e_session failed: " + run.stderr)
        lines = [line[5:] for line in run.stdout.splitlines() if line.startswith("line ")]
        return lines, [read_ppm(f) for f in frames]


def differing(a, b):
    return sum(1 for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3])


def random_script(seed, presses):
    """Moves over the plant's middle, each followed by a press (mostly of
    the first button) or a wheel step."""
    rng, script = random.Random(seed), []
    for _ in range(presses):
        script.append(("move", rng.randint(200, 400), rng.randint(150, 300)))
        script.append(("press", rng.choice([1, 1, 1, 3])) if rng.random() < 0.85
                      else ("wheel", rng.choice(["up", "down"])))
    return script


def pressed(symbols, at):
    """What the desktop program's press makes of symbols with the square at that position selected."""
    oracle = os.path.join(os.path.dirname(args.session), "e2e_press")
    return subprocess.run([oracle], input="%d %s\n" % (at, symbols), capture_output=True, text=True,
                          check=True).stdout.strip()


AXE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../build-deps/npm/node_modules/axe-core/axe.min.js")
TAB, ENTER, UP, DOWN, PAGE_UP, END = "\ue004", "\ue007", "\ue013", "\ue015", "\ue00e", "\ue010"


def address(symbols, prefix="#p1="):
    """The page's address for a string: deflated, in base64url."""
    deflate = zlib.compressobj(6, zlib.DEFLATED, -15)
    data = deflate.compress(symbols.encode("latin-1")) + deflate.flush()
    return prefix + base64.urlsafe_b64encode(data).decode().rstrip("=")


class InBrowser(unittest.TestCase):
    """A server for the page and one browser for the whole class."""
    start = None

    @classmethod
    def setUpClass(cls):
        if not os.path.exists(os.path.join(args.page, "plant.js")):
            raise AssertionError(args.page + " holds no built page: make web writes it")
        cls.server = browser.Server(args.page)
        cls.engine = cls.start()

    @classmethod
    def tearDownClass(cls):
        cls.engine.quit()
        cls.server.close()

    def open(self, url=None, full_size=True, first=START_UP):
        page = browser.Page(self.engine, url or self.server.url + "index.html", full_size)
        self.assertEqual(page.wait_for_lines(1), [first])
        return page

    def reopen(self, fragment, first):
        """The page opened anew at index.html with that fragment."""
        self.engine.open("about:blank")
        return self.open(self.server.url + "index.html" + fragment, first=first)

    def holds(self, page, symbols):
        """The fragment, once the address holds symbols."""
        self.assertTrue(browser.wait_until(lambda: page.engine.run("return window.addressHolds;") == symbols),
                        "the address never came to hold the plant")
        return page.engine.run("return location.hash;")

    def assertSameFrame(self, web, desk, what):
        self.assertEqual(differing(web, desk), 0, what + ": pixels unlike the desktop program's")

    def run_in_browser(self, page, script):
        """The same script in the page: the lines printed since it began, and
        the frames asked for."""
        frames, x, y = [], 0, 0
        presses = len(page.lines())
        for step in script:
            if step[0] == "move":
                x, y = step[1], step[2]
                page.move(x, y)
                page.settled()
            elif step[0] in ("press", "wheel"):
                if step[0] == "press":
                    page.press(step[1])
                else:
                    page.wheel(x, y, step[1] == "up")
                presses += 1
                self.assertTrue(page.wait_for_lines(presses), "no line after a press")
            elif step[0] == "frame":
                frames.append(page.settled())
        return page.lines(), frames


class WebPage(InBrowser):
    start = staticmethod(lambda: engines.start(args.engine))

    def test_start_up_frame_is_the_desktop_ones_served_and_from_a_folder(self):
        lines, frames = desktop([("frame",)])
        self.assertEqual(lines, [START_UP])
        self.assertSameFrame(self.open().settled(), frames[0], "start-up")
        folder = pathlib.Path(os.path.abspath(args.page), "index.html").as_uri()
        self.assertSameFrame(self.open(folder).settled(), frames[0], "start-up from a folder")

    def test_presses_on_a_leaf_and_on_nothing(self):
        script = [("move", 212, 212), ("frame",), ("press", 1), ("frame",), ("move", 5, 5), ("press", 1),
                  ("wheel", "down"), ("frame",)]
        lines, frames = desktop(script)
        self.assertEqual(lines, [START_UP, GROWN_AT_212, GROWN_AT_212, GROWN_AT_212])
        web_lines, web_frames = self.run_in_browser(self.open(), script)
        self.assertEqual(web_lines, lines)
        for web, desk, what in zip(web_frames, frames, ("hovered leaf", "grown", "nothing hovered")):
            self.assertSameFrame(web, desk, what)

    def test_browser_keys_stay_the_browsers_and_a_plain_key_ends_the_program(self):
        page = self.open()
        page.engine.run("getSelection().selectAllChildren(document.getElementById('output')); return 0;")
        control, alt = "\ue009", "\ue00a"
        page.key(control)
        page.key(alt)
        page.engine.act({"type": "key", "id": "keyboard", "actions": [
            {"type": "keyDown", "value": control}, {"type": "keyDown", "value": "c"},
            {"type": "keyUp", "value": "c"}, {"type": "keyUp", "value": control}]})
        page.move(212, 212)
        page.settled()
        page.press(1)
        self.assertEqual(page.wait_for_lines(2), [START_UP, GROWN_AT_212], "a browser key ended the program")
        page.move(100, 100)
        page.settled()
        page.key()
        self.assertTrue(browser.wait_until(lambda: "Grow again" in page.status()), page.status())
        before = page.settled()
        page.move(212, 212)
        time.sleep(0.5)
        page.press(1)
        time.sleep(0.3)
        self.assertEqual(differing(page.pixels(), before), 0, "the canvas changed after the end")
        self.assertEqual(page.printed(), 2)
        # Grow again starts the program anew with the plant in the address.
        self.assertTrue(browser.wait_until(lambda: page.engine.run("return window.addressHolds;") == GROWN_AT_212))
        page.click("action")
        self.assertTrue(browser.wait_until(lambda: page.printed() == 1 and page.lines() == [GROWN_AT_212]),
                        "Grow again did not bring the plant back")

    def test_the_plant_from_the_keyboard(self):
        _, frames = desktop([("move", 212, 212), ("frame",)])
        page = self.open()
        page.key(TAB)
        self.assertEqual(page.engine.run("return document.activeElement.id;"), "canvas")
        self.assertTrue(browser.wait_until(lambda: page.said().startswith("Root joint, never cut: symbol 1 of 58")),
                        page.said())
        self.assertIn("Enter or Space", page.status())
        # Down the first branches to the leaf at 13, the one under (212, 212): the mouse's frame.
        for _ in range(7):
            page.key(DOWN)
        self.assertTrue(browser.wait_until(lambda: page.said() == "Leaf, lit: symbol 14 of 58, 3 branches deep."),
                        page.said())
        self.assertSameFrame(page.settled(), frames[0], "the leaf highlighted from the keyboard")
        self.assertEqual(page.marked(), [13, "o"])
        # Presses: the leaf; the joint under it, which its leaf covered; the last square's sibling.
        plant = START_UP
        for keys, at in [([], 13), ([UP], 12), ([END, UP, PAGE_UP], None)]:
            for key in keys:
                page.key(key)
            page.settled()
            at = at if at is not None else page.marked()[0]
            plant, printed = pressed(plant, at), page.printed()
            page.key(ENTER)
            self.assertEqual(page.wait_for_lines(printed + 1)[-1], plant, "the press at %d" % at)
        self.assertEqual(page.lines()[1], GROWN_AT_212)
        self.assertTrue(browser.wait_until(lambda: page.said().startswith("Cut at symbol")), page.said())
        # The mouse takes the highlight back, and the mark follows it.
        page.move(299, 279)
        self.assertTrue(browser.wait_until(lambda: page.marked() == [0, "a"]), page.marked())
        self.assertTrue(page.said().startswith("Root joint"), page.said())
        # Any other key on the plant ends the program; then every key is the browser's.
        page.key("q")
        self.assertTrue(browser.wait_until(lambda: "has ended" in page.status()), page.status())
        page.engine.run("window.kept = []; addEventListener('keydown', function (e) { kept.push(e); }, true); return 0;")
        page.key("x")
        page.key(DOWN)
        self.assertEqual(page.engine.run("return kept.map(function (e) { return e.defaultPrevented; });"), [False, False])

    def test_no_accessibility_violations_before_and_after_presses_and_the_end(self):
        with open(AXE) as f:
            axe = f.read()
        page = self.open()
        self.assertEqual(page.audit(axe), [], "at start-up")
        page.move(212, 212)
        page.settled()
        page.press(1)
        page.key(ENTER)
        page.wait_for_lines(3)
        self.assertEqual(page.audit(axe), [], "after presses")
        page.key("q")
        self.assertTrue(browser.wait_until(lambda: "has ended" in page.status()))
        self.assertEqual(page.audit(axe), [], "after the end")
        self.engine.resize(390, 844)
        try:
            self.assertEqual(browser.Page(self.engine, None, full_size=False).audit(axe), [], "at a phone's size")
        finally:
            self.engine.resize(900, 1000)

    def test_a_press_acts_where_it_landed_though_the_layout_moves_at_once(self):
        lines, _ = desktop([("move", 212, 212), ("press", 1)])
        page = self.open()
        page.move(212, 212)
        page.settled()
        # The page moves the canvas in the press's own event, before any frame.
        page.engine.run("""
            addEventListener('mousedown', function () {
              document.body.style.paddingTop = '150px';
              document.body.style.paddingLeft = '100px';
            }, { capture: true, once: true });
            return 0;""")
        page.press(1)
        self.assertEqual(page.wait_for_lines(2), lines)

    def test_a_still_page_runs_no_frames_until_a_hover(self):
        page = self.open()
        time.sleep(0.5)
        page.engine.run("""
            window.frameCalls = 0;
            const ask = window.requestAnimationFrame;
            window.requestAnimationFrame = function (f) { window.frameCalls++; return ask.call(window, f); };
            return 0;""")
        time.sleep(1)
        self.assertEqual(page.engine.run("return window.frameCalls;"), 0, "frames ran on a still page")
        page.move(212, 212)
        self.assertTrue(browser.wait_until(lambda: page.pixels()[(212 * 600 + 212) * 3:][:3] == RED),
                        "the hover drew no highlight")
        self.assertGreater(page.engine.run("return window.frameCalls;"), 0)
        # A canvas the browser clears is drawn again whole.
        shown = page.settled()
        page.engine.run("document.getElementById('canvas').width = 600; return 0;")
        self.assertTrue(browser.wait_until(lambda: page.pixels() == shown), "the cleared canvas stayed blank")

    def test_a_still_page_puts_nothing_and_a_hover_only_what_changed(self):
        page = self.open()
        page.settled()
        page.engine.run("""
            window.puts = [];
            const put = CanvasRenderingContext2D.prototype.putImageData;
            CanvasRenderingContext2D.prototype.putImageData = function (image, x, y, ...area) {
              window.puts.push(area.length ? area[2] * area[3] : image.width * image.height);
              return put.call(this, image, x, y, ...area);
            };
            return 0;""")
        time.sleep(1)
        self.assertEqual(page.engine.run("return window.puts;"), [])
        page.move(212, 212)
        page.settled()
        puts = page.engine.run("return window.puts;")
        self.assertTrue(puts, "the highlight never reached the canvas")
        self.assertLess(max(puts), 600 * 400 // 10)

    def test_a_long_session_shows_the_newest_lines_and_counts_the_rest(self):
        page = self.open()
        page.move(5, 5)
        page.settled()
        page.press(times=250)
        page.move(212, 212)
        page.settled()
        page.press()
        self.assertEqual(page.wait_for_lines(252), [START_UP] * 99 + [GROWN_AT_212])
        self.assertEqual(page.earlier(), "152 earlier lines")

    def test_the_output_keeps_its_characters_bounded_and_the_newest_line_whole(self):
        page = self.open()
        page.engine.run("for (var i = 1; i <= 4; i++) Module.print((i + ' ').repeat(350000)); return 0;")
        self.assertEqual(page.engine.run("return Array.from(document.getElementById('output').children,"
                                         " e => [e.textContent.length, e.textContent[0]]);"),
                         [[700000, "3"], [700000, "4"]])
        self.assertEqual(page.earlier(), "3 earlier lines")
        page.engine.run("Module.print('5'.repeat(2500000)); return 0;")
        self.assertEqual(page.engine.run("var o = document.getElementById('output');"
                                         "return [o.childElementCount, o.lastElementChild.textContent.length];"),
                         [1, 2500000])
        # Laid out on one row that scrolls sideways: wrapped, it would take a third of a second.
        # Its pieces are laid out as they come into view or into a selection, which takes it whole.
        self.assertTrue(page.engine.run("var l = document.getElementById('output').lastElementChild;"
                                        "getSelection().selectAllChildren(l);"
                                        "return l.scrollWidth > 100 * l.clientWidth && l.offsetHeight < 40;"))
        self.assertTrue(engines.wait_until(
            lambda: page.engine.run("return getSelection().toString() === '5'.repeat(2500000);"), timeout=10))

    def test_random_presses_match_the_desktop(self):
        script = random_script(int(os.environ.get("PLANT_WEB_SEED", "7")), 24) + [("frame",)]
        lines, frames = desktop(script)
        self.assertEqual(len(lines), 25)
        self.assertGreaterEqual(len(set(lines)), 3, "the session hardly changed the plant")
        web_lines, web_frames = self.run_in_browser(self.open(), script)
        self.assertEqual(web_lines, lines)
        self.assertSameFrame(web_frames[0], frames[0], "after the presses")
        print("\nrandom session: %d presses, %d distinct strings, last %d symbols"
              % (len(lines) - 1, len(set(lines)), len(lines[-1])), file=sys.stderr)


class Address(InBrowser):
    """The plant in the page's address, Back and Forward, and the buttons."""
    start = staticmethod(lambda: engines.start(args.engine))

    def test_a_plant_reopens_from_its_address(self):
        script = random_script(11, 24) + [("move", 5, 5), ("frame",)]
        lines, frames = desktop(script)
        self.assertGreaterEqual(len(set(lines)), 4, "the session hardly changed the plant")
        page = self.open()
        web_lines, _ = self.run_in_browser(page, script)
        self.assertEqual(web_lines, lines)
        fragment = self.holds(page, lines[-1])
        page = self.reopen(fragment, first=lines[-1])
        page.move(5, 5)
        self.assertSameFrame(page.settled(), frames[0], "reopened")
        # Ten generations, in the page's own words: short, and the same plant again.
        tenth = "ao"
        for _ in range(10):
            tenth = tenth.replace("o", "a[+ao]-ao")
        fragment = self.holds(self.reopen(address(tenth), first=tenth), tenth)
        self.assertLessEqual(len(fragment) - 1, 300)
        self.holds(self.reopen(fragment, first=tenth), tenth)
        # The largest plant a link holds, in the page's own deflate: short, and whole again.
        code = base64.b64decode(page.engine.run(
            "var d = deflateRaw(new Uint8Array(1000000).fill(97)), s = '';"
            "for (var i = 0; i < d.length; i++) s += String.fromCharCode(d[i]); return btoa(s);"))
        self.assertLessEqual(len(base64.urlsafe_b64encode(code).rstrip(b"=")) + len("#p1="), 2000)
        self.assertEqual(zlib.decompress(code, -15), b"a" * 1000000)

    def test_back_and_forward_step_through_presses(self):
        away = [("move", 5, 5), ("frame",)]
        script = away + [("move", 212, 212), ("press", 1)] + away + [("move", 388, 212), ("press", 1)] + away + \
            [("move", 299, 279), ("press", 1)]
        lines, frames = desktop(script)
        self.assertEqual(len(set(lines)), 3, "the two leaves did not both grow on the desktop")
        self.assertEqual(lines[3], lines[2], "the root joint changed the plant on the desktop")
        page = self.open()
        entries = page.engine.run("return history.length;")
        self.assertEqual(self.run_in_browser(page, script)[0], lines)
        self.holds(page, lines[2])
        self.assertEqual(page.engine.run("return history.length;"), entries + 2)
        page.move(5, 5)
        printed = page.printed()
        for way, want in (("back", 1), ("back", 0), ("forward", 1)):
            page.engine.run("history.%s(); return 0;" % way)
            printed += 1
            self.assertEqual(page.wait_for_lines(printed)[-1], lines[want], way)
            self.assertSameFrame(page.settled(), frames[want], "after %s to string %d" % (way, want))
        # Back while a large plant's frames are drawn, in parts: the entry's plant as the desktop shows it.
        page.engine.run("location.hash = %r; return 0;" % address("a+" * 500000))
        self.assertTrue(browser.wait_until(lambda: page.printed() > printed, 60))
        page.engine.run("history.back(); return 0;")
        printed += 2
        self.assertEqual(page.wait_for_lines(printed)[-1], lines[1])
        self.assertSameFrame(page.settled(), frames[1], "back from a large plant")
        # Start over from the keyboard: a page key, which the program never
        # sees. Firefox's WebDriver keys reach a button without activating
        # it: there the mouse presses it after the key.
        page.engine.run("document.getElementById('start-over').focus(); return 0;")
        page.key("\ue007")
        if args.engine == "firefox":
            page.click("start-over")
        self.assertEqual(page.wait_for_lines(printed + 1)[-1], START_UP)
        self.holds(page, START_UP)
        self.assertNotIn("has ended", page.status())

    def test_quick_history_moves_keep_every_entry(self):
        plants, plant = [START_UP], "ao"
        for _ in range(5):
            plant = plant.replace("o", "a[+ao]-ao")
            plants.append(plant)
        page = self.open()
        for k, plant in enumerate(plants[1:]):
            page.engine.run("location.hash = %r; return 0;" % address(plant))
            self.assertEqual(page.wait_for_lines(k + 2)[-1], plant)

        def entry():
            """The index of the plant the entry holds, once the page shows it."""
            def shown():
                code = page.engine.run("return location.hash;")[len("#p1="):]
                held = zlib.decompress(base64.urlsafe_b64decode(code + "=" * (-len(code) % 4)), -15).decode()
                return page.engine.run("return window.addressHolds;") == held and held
            held = browser.wait_until(shown)
            self.assertIn(held, plants, "the page does not show the plant of its entry")
            # The third generation is the usual plant: the moves never go back to the first entry.
            return len(plants) - 1 - plants[::-1].index(held)

        page.engine.run("for (var i = 0; i < 4; i++) setTimeout(function () { history.back(); }, 4 * i); return 0;")
        time.sleep(1)
        at = entry()
        page.engine.run("history.forward(); history.forward(); history.forward(); return 0;")
        time.sleep(1)
        at = entry()
        for want in range(at + 1, len(plants)):
            # WebKit drops a traversal asked for while one is under way: asked again.
            self.assertTrue(any(page.engine.run("history.forward(); return 0;") == 0 and
                                browser.wait_until(lambda: entry() == want, 3) for _ in range(5)),
                            "entry %d lost its plant" % want)
        # A link re-encoded on its way, with white space after it, is the same link.
        fragment = address(GROWN_AT_212)
        code = fragment[len("#p1="):]
        self.reopen("#p1%%3D%%%02X%s%%20" % (ord(code[0]), code[1:]), first=GROWN_AT_212)

    def test_a_history_move_while_a_plant_is_written_keeps_every_entry(self):
        page = self.open()
        page.move(212, 212)
        page.settled()
        page.press(1)
        self.holds(page, GROWN_AT_212)
        # Writing the address takes a while, as it does for a large plant.
        page.engine.run("var soon = deflateRawSoon; deflateRawSoon = function (b) { return new Promise("
                        "function (r) { setTimeout(r, 500); }).then(function () { return soon(b); }); }; return 0;")
        page.click("start-over")
        page.wait_for_lines(3)
        page.engine.run("history.back(); return 0;")
        self.holds(page, START_UP)
        time.sleep(0.6)
        page.engine.run("history.forward(); return 0;")
        self.holds(page, GROWN_AT_212)
        self.assertEqual(page.lines()[-1], GROWN_AT_212, "the write after the move took the next entry's place")

    def test_bad_addresses_start_the_usual_plant(self):
        if args.engine == "chromium":
            self.engine.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
                window.uncaught = [];
                addEventListener('error', function (e) { uncaught.push(String(e.message)); });
                addEventListener('unhandledrejection', function (e) { uncaught.push(String(e.reason)); });"""})
        good = address(GROWN_AT_212)
        for what, fragment in [("not base64url", "#p1=ab$d"), ("truncated", good[:len(good) // 2]),
                               ("not deflated", "#p1=AAAA"), ("unknown prefix", address(GROWN_AT_212, "#p9=")),
                               ("foreign symbol", address("aa[+ax]-ao")), ("unclosed", address("aa[+ao")),
                               ("misordered", address("a]a[o")), ("too long", address("a" * 1000001))]:
            page = self.reopen(fragment, first=START_UP)
            self.assertIn("The link held no plant that this page could read", page.status(), what)
            self.holds(page, START_UP)
            if args.engine == "chromium":
                self.assertEqual(page.engine.run("return window.uncaught;"), [], what)

    def test_save_picture_downloads_the_canvas(self):
        page = self.open()
        page.move(212, 212)
        page.settled()
        page.engine.run("""
            window.saved = null;
            HTMLAnchorElement.prototype.click = function () {
              var link = this;
              fetch(link.href).then(function (r) { return r.blob(); }).then(createImageBitmap).then(function (image) {
                var copy = document.createElement('canvas');
                copy.width = image.width;
                copy.height = image.height;
                copy.getContext('2d').drawImage(image, 0, 0);
                var a = copy.getContext('2d').getImageData(0, 0, image.width, image.height).data;
                var b = document.getElementById('canvas').getContext('2d').getImageData(0, 0, 600, 400).data;
                window.saved = [link.download, image.width, image.height, a.length === b.length &&
                                a.every(function (v, i) { return v === b[i]; })];
              });
            };
            return 0;""")
        page.click("save-picture")
        self.assertEqual(browser.wait_until(lambda: page.engine.run("return window.saved;")),
                         ["plant.png", 600, 400, True])
        time.sleep(0.3)
        self.assertEqual(page.printed(), 1, "a click on a button pressed on the plant")


class Bursts(InBrowser):
    """Presses faster than the history takes them, and the end of the
    program while a link is written, in a browser of their own: they fill
    its history."""
    start = staticmethod(lambda: engines.start(args.engine))

    def test_a_burst_of_presses_ends_with_the_last_plant_in_the_address(self):
        page = self.open()
        page.key(TAB)
        # 250 presses about 35 ms apart (25 ms and the driver's own time),
        # each growing the last leaf: more history writes than WebKit takes
        # in 10 seconds.
        steps = []
        for _ in range(250):
            steps += [{"type": "keyDown", "value": END}, {"type": "keyUp", "value": END},
                      {"type": "keyDown", "value": ENTER}, {"type": "keyUp", "value": ENTER},
                      {"type": "pause", "duration": 25}]
        page.engine.act({"type": "key", "id": "keyboard", "actions": steps})
        plant = START_UP
        for _ in range(250):
            plant = pressed(plant, len(plant) - 1)
        self.assertEqual(page.wait_for_lines(251, 60)[-1], plant)
        self.assertTrue(browser.wait_until(lambda: page.engine.run("return window.addressHolds;") == plant, 30),
                        "the address never came to hold the last plant")
        page.engine.run("location.reload(); return 0;")
        self.assertTrue(browser.wait_until(lambda: page.printed() == 1 and page.lines() == [plant], 30),
                        "the reloaded page lost presses")

    def test_grow_again_waits_for_the_link_of_the_last_press(self):
        large = "a+" * 500000
        page = self.reopen(address(large), first=large)
        self.holds(page, large)
        # The link of the press takes long to write, as a large plant's may.
        page.engine.run("var soon = deflateRawSoon; deflateRawSoon = function (b) { return new Promise("
                        "function (r) { setTimeout(r, 1500); }).then(function () { return soon(b); }); }; return 0;")
        page.key(TAB)
        page.key(END)
        page.key(ENTER)
        page.key("q")
        cut = pressed(large, len(large) - 2)
        self.assertEqual(page.wait_for_lines(2)[-1], cut)
        self.assertTrue(browser.wait_until(lambda: "Grow again" in page.status()), page.status())
        page.click("action")
        self.assertTrue(browser.wait_until(lambda: page.printed() == 1 and page.lines() == [cut], 30),
                        "Grow again brought back the plant before the press")



class FaultyServer(browser.QuietHandler):
    """Serves the page with the faults named in faults: a file missing, cut
    short (its first half, said to be whole), stalled after its first half,
    its connection reset before any answer or dropped after its first half,
    or corrupted (its second half inverted, at its full length). It has no
    service worker, whose copies would hide the faults."""
    faults = {}

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def send_head(self):
        name = self.path.split("?")[0].lstrip("/")
        fault = "missing" if name == "sw.js" else self.faults.get(name)
        if fault is None:
            return super().send_head()
        if fault == "missing":
            self.send_error(404)
            return None
        if fault == "reset":
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.close_connection = True
            return None
        with open(os.path.join(self.directory, name), "rb") as f:
            data = f.read()
        half = data[:len(data) // 2]
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(name))
        self.send_header("Content-Length", str(len(half) if fault == "cut" else len(data)))
        self.end_headers()
        if fault == "corrupt":
            return io.BytesIO(half + bytes(255 - b for b in data[len(half):]))
        if fault in ("stall", "drop"):
            self.wfile.write(half)
            self.wfile.flush()
            if fault == "stall":
                time.sleep(40)
            self.close_connection = True
            return None
        return io.BytesIO(half)


class LoadFailures(InBrowser):
    """Chromium: each way the page can fail to load ends in a sentence and a
    way on; a helper that does not load costs only its own feature."""
    # The driver must not wait for a page whose script stalls.
    start = staticmethod(lambda: engines.chromium(waits=False))

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.server.close()
        cls.server = browser.Server(args.page, FaultyServer)

    def load(self, faults):
        """The page served with those faults, once its document is there."""
        FaultyServer.faults = faults
        url = self.server.url + "index.html"
        self.engine.open("about:blank")
        self.engine.open(url)
        # A machine under load may take long to start a navigation after a stalled one.
        self.assertTrue(browser.wait_until(lambda: self.engine.run(
            "return location.href === %r && !!document.getElementById('action');" % url), timeout=60))
        return browser.Page(self.engine, None)

    def failed(self, faults, timeout=10):
        page = self.load(faults)
        shown = browser.wait_until(lambda: page.engine.run(
            "var a = document.getElementById('action');"
            "return !a.hidden && [document.getElementById('status').textContent, a.textContent];"), timeout)
        self.assertTrue(shown, "%r: no way on after %d s: %s" % (faults, timeout, page.status()))
        return shown

    def test_a_program_that_does_not_arrive_is_said_with_a_reload(self):
        for fault, words, timeout in [("missing", "missing from the server", 10), ("cut", "incomplete", 10),
                                      ("stall", "has not arrived", 25)]:
            status, action = self.failed({"plant.js": fault}, timeout)
            self.assertIn(words, status, fault)
            self.assertIn("Reload the page", status, fault)
            self.assertNotIn("make", status, fault)
            self.assertEqual(action, "Reload", fault)
        status, action = self.failed({"plant.wasm": "missing"})
        self.assertIn("(plant.wasm) did not load. Reload the page", status)
        with tempfile.TemporaryDirectory() as folder:
            for name in os.listdir(args.page):
                if name.endswith((".html", ".js")) and name != "plant-folder.js":
                    shutil.copy(os.path.join(args.page, name), folder)
            self.engine.open(pathlib.Path(folder, "index.html").as_uri())
            self.assertTrue(browser.wait_until(lambda: "make web-serve" in (s := self.engine.run(
                "return document.getElementById('status').textContent;")) and s))

    def test_every_file_that_fails_ends_in_a_sentence_and_a_reload(self):
        for faults, words, timeout in [({"plant.wasm": "stall"}, "has not arrived", 25),
                                       ({"plant.wasm": "reset"}, "(plant.wasm) did not load", 10),
                                       ({"plant.wasm": "drop"}, "(plant.wasm) did not load", 10),
                                       ({"plant.wasm": "corrupt"}, "(plant.wasm) arrived damaged", 10),
                                       ({"page.js": "cut"}, "(page.js) arrived incomplete", 10),
                                       ({"page.js": "stall"}, "(page.js) has not arrived", 25)]:
            status, action = self.failed(faults, timeout)
            self.assertIn(words, status, faults)
            self.assertIn("Reload the page", status, faults)
            self.assertNotIn("Error", status, faults)
            self.assertEqual(action, "Reload", faults)
        # From a folder, a missing page.js is the folder's to mend.
        with tempfile.TemporaryDirectory() as folder:
            shutil.copy(os.path.join(args.page, "index.html"), folder)
            self.engine.open(pathlib.Path(folder, "index.html").as_uri())
            self.assertTrue(browser.wait_until(lambda: "make web-serve" in (s := self.engine.run(
                "return document.getElementById('status').textContent;")) and "page.js" in s and s))

    def test_a_dropped_program_is_said_with_a_reload(self):
        status, action = self.failed({"plant.wasm": "drop"})
        self.assertRegex(status, r"\(plant\.wasm\) (did not load|arrived damaged or incomplete)")
        self.assertEqual(action, "Reload")

    def test_the_page_without_its_scripts_says_so_and_copy_link_never_gives_a_plantless_link(self):
        status, action = self.failed({"page.js": "missing"})
        self.assertIn("page.js", status)
        self.assertEqual(action, "Reload")
        # Links that cannot be written: Copy link says so rather than copy an older plant's.
        page = self.load({})
        self.assertEqual(page.wait_for_lines(1), [START_UP])
        page.engine.run("window.deflateRawSoon = function () { throw new Error('no deflate'); }; return 0;")
        page.move(212, 212)
        page.settled()
        page.press(1)
        self.assertEqual(page.wait_for_lines(2), [START_UP, GROWN_AT_212])
        page.click("copy-link")
        self.assertTrue(browser.wait_until(lambda: "does not hold the plant" in page.status()), page.status())


class LoadFailuresInFirefox(LoadFailures):
    """Firefox, where a connection dropped in the middle of the program
    once left the page loading for good."""
    start = staticmethod(engines.Bidi)


class Phone(InBrowser):
    """Chromium as a 390 x 844 phone: a finger, no mouse and no keyboard."""
    start = staticmethod(lambda: engines.chromium(phone=(390, 844)))

    def test_a_tap_acts_on_the_square_under_the_finger(self):
        lines, _ = desktop([("move", 212, 212), ("press", 1), ("move", 388, 212), ("press", 1)])
        page = self.open(full_size=False)
        page.tap(212, 212)
        self.assertEqual(page.wait_for_lines(2), lines[:2])
        page.tap(388, 212)
        self.assertEqual(page.wait_for_lines(3), lines[:3])
        self.assertNotEqual(lines[2], lines[1], "the second leaf did not grow on the desktop")

    def quiet(self, page):
        """Whether the page printed nothing past its start-up line, once a
        press would have had time to come through."""
        time.sleep(0.3)
        page.settled()
        return page.lines() == [START_UP]

    def test_a_drag_only_looks(self):
        page = self.open(full_size=False)
        page.fingers("touchStart", (212, 212))
        for x in (240, 300, 360, 388):
            page.fingers("touchMove", (x, 212))
        self.assertEqual(page.settled()[(212 * 600 + 388) * 3:][:3], RED, "the second leaf is not highlighted")
        page.fingers("touchEnd")
        self.assertTrue(self.quiet(page), "a drag pressed")

    def test_two_fingers_do_nothing_even_when_the_first_lifts_first(self):
        page = self.open(full_size=False)
        page.fingers("touchStart", (212, 212))
        page.fingers("touchStart", (212, 212), (388, 212))
        page.fingers("touchEnd", (388, 212), ids=[1])
        page.fingers("touchEnd")
        page.fingers("touchStart", (212, 212))
        page.fingers("touchCancel")
        self.assertTrue(self.quiet(page), "two fingers or a cancelled touch pressed")

    def test_a_tap_lands_on_the_exact_pixel_also_on_a_scrolled_page(self):
        lines, _ = desktop([("move", 208, 210), ("press", 1), ("move", 351, 166), ("press", 1)])
        page = self.open(full_size=False)
        page.fingers("touchStart", (208, 210))
        page.fingers("touchEnd")
        self.assertEqual(page.wait_for_lines(2), lines[:2])
        page.engine.run("document.body.style.height = '3000px'; scrollTo(0, 100); return scrollY;")
        page.fingers("touchStart", (351, 166))
        page.fingers("touchEnd")
        self.assertEqual(page.wait_for_lines(3), lines)
        self.assertEqual(len(set(lines)), 3, "a tap did not grow the plant on the desktop")

    def test_the_page_fits_the_screen(self):
        page = self.open(full_size=False)
        fits = self.engine.run("""
            var r = document.getElementById('canvas').getBoundingClientRect();
            var font = parseFloat(getComputedStyle(document.getElementById('output')).fontSize);
            return [r.left >= 0 && r.right <= innerWidth, document.documentElement.scrollWidth <= innerWidth,
                    Math.abs(r.width / r.height - 1.5) < 0.01, font >= 12, innerWidth];""")
        self.assertEqual(fits, [True, True, True, True, 390])
        self.assertIn("Tap", page.status())
        self.assertNotIn("key", page.status())


class Screens(InBrowser):
    """Chromium's phone emulation at screens from a small phone to a
    desktop, both ways round: the canvas and the newest string in sight."""
    start = staticmethod(engines.chromium)

    def test_the_canvas_and_the_newest_string_fit_every_screen(self):
        for width, height in [(320, 568), (390, 844), (768, 1024), (1920, 1080)]:
            for w, h in [(width, height), (height, width)]:
                self.engine.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                    "width": w, "height": h, "deviceScaleFactor": 2, "mobile": w < 1000})
                page = self.open(full_size=False)
                page.engine.run("for (var i = 0; i < 40; i++) Module.print('ao'.repeat(400) + i); return 0;")
                fit = browser.wait_until(lambda: page.engine.run("""
                    var c = document.getElementById('canvas').getBoundingClientRect();
                    var o = document.getElementById('output'), n = o.lastElementChild.getBoundingClientRect();
                    var b = o.getBoundingClientRect(), e = document.documentElement;
                    return c.left >= 0 && c.top >= 0 && c.right <= innerWidth && c.bottom <= innerHeight &&
                           n.bottom <= b.bottom + 1 && n.bottom > b.top && b.bottom <= innerHeight &&
                           e.scrollWidth <= innerWidth && e.scrollHeight <= innerHeight &&
                           Math.abs(c.width / c.height - 1.5) < 0.01 && [c.left, c.top, c.width, b.left, b.top];"""), 5)
                self.assertTrue(fit, "%d x %d: canvas or newest string out of sight" % (w, h))
                print("\n%d x %d: canvas at (%.1f, %.1f), %.1f wide; strings from (%.1f, %.1f)"
                      % (w, h, *fit), file=sys.stderr, end="")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--session", required=True)
    parser.add_argument("--engine", choices=engines.ENGINES, required=True)
    parser.add_argument("--only", default="", help="runs only the tests whose names hold this")
    args = parser.parse_args()
    suite = unittest.TestSuite()
    for case in [WebPage, Address, Bursts] + ([LoadFailures, Phone, Screens] if args.engine == "chromium" else []):
        suite.addTests(t for t in unittest.defaultTestLoader.loadTestsFromTestCase(case) if args.only in t.id())
    if args.engine == "firefox" and args.only in "LoadFailuresInFirefox":
        suite.addTest(LoadFailuresInFirefox("test_a_dropped_program_is_said_with_a_reload"))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)
