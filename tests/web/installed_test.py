#!/usr/bin/python3
"""The page as an installed web app, in Chromium: installable, opened
offline after one visit, its builds replaced whole, kept in the
back/forward cache. Usage as web_test.py's, without --engine."""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser  # noqa: E402
import engines  # noqa: E402
import web_test  # noqa: E402
from web_test import GROWN_AT_212, START_UP, address, desktop  # noqa: E402

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "web")
PAGE_FILES = ["index.html", "page.js", "plant.js", "plant.wasm", "manifest.webmanifest", "icon-192.png", "icon-512.png"]


def write_build(page, folder, name, cut=False):
    """The built page in folder as build name: its index.html, page.js and
    plant.js say the name, and its service worker knows them; with cut,
    plant.js is its first half, as an interrupted copy leaves it."""
    os.makedirs(folder, exist_ok=True)
    for file in PAGE_FILES[1:]:
        shutil.copy(os.path.join(page, file), folder)
    for file, marker in [("plant.js", "plantBuild"), ("page.js", "pageBuild")]:
        with open(os.path.join(folder, file), "a") as f:
            f.write("\nwindow.%s = '%s';\n" % (marker, name))
    with tempfile.NamedTemporaryFile("w", suffix=".html") as template:
        with open(os.path.join(SOURCE, "index.html")) as f:
            template.write(f.read() + '<meta name="build" content="%s">\n' % name)
        template.flush()
        subprocess.run(["cmake", "-DDIR=" + folder, "-DFILES=" + ";".join(PAGE_FILES), "-DPAGE=" + template.name,
                        "-DTEMPLATE=" + os.path.join(SOURCE, "sw.js"), "-P",
                        os.path.join(SOURCE, "service_worker.cmake")], check=True)
    if cut:
        with open(os.path.join(folder, "plant.js"), "r+b") as f:
            f.truncate(os.path.getsize(f.name) // 2)


class Installed(web_test.InBrowser):
    start = staticmethod(engines.chromium)

    def caches(self):
        return self.engine.driver.execute_async_script(
            "var done = arguments[0]; caches.keys().then(done, function (e) { done(String(e)); });")

    def kept_build(self, count=1):
        """The page's caches, once the service worker keeps count builds."""
        return browser.wait_until(lambda: len(c := self.caches()) == count and c)

    def test_after_one_visit_the_page_and_its_links_open_offline(self):
        _, frames = desktop([("move", 5, 5), ("frame",)])
        self.open()
        self.assertTrue(self.kept_build(), "the page was not kept")
        self.assertEqual(self.engine.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {}),
                         {"installabilityErrors": []})
        # Kept in the back/forward cache, not loaded again.
        self.engine.run("window.stayed = true; return 0;")
        self.engine.open("about:blank")
        self.engine.driver.back()
        self.assertTrue(browser.wait_until(lambda: self.engine.run("return window.stayed === true;")),
                        "going back loaded the page again")
        self.server.close()
        page = self.open()
        page.move(5, 5)
        self.assertSameFrame(page.settled(), frames[0], "offline")
        self.engine.open("about:blank")
        self.open(self.server.url + "index.html" + address(GROWN_AT_212), first=GROWN_AT_212)

    def test_a_new_build_replaces_the_old_one_whole(self):
        with tempfile.TemporaryDirectory() as folder:
            server = browser.Server(folder)
            try:
                url = server.url + "index.html"

                def visit():
                    """The builds of the index.html and plant.js that ran."""
                    self.open(url)
                    return self.engine.run("return [document.querySelector('meta[name=build]').content, "
                                           "window.plantBuild];")

                write_build(args.page, folder, "A")
                self.assertEqual(visit(), ["A", "A"])
                kept = self.kept_build()
                # B, its copy to the server cut short: A stays whole. Each
                # visit asks for a newer build, which comes in the background.
                write_build(args.page, folder, "B", cut=True)
                self.assertEqual(visit(), ["A", "A"])
                time.sleep(5)
                self.assertEqual(visit(), ["A", "A"])
                self.assertEqual(self.caches(), kept)
                # B whole: A until B has taken over and dropped A, then B, never a mix.
                write_build(args.page, folder, "B")
                for _ in range(5):
                    self.assertIn(visit(), [["A", "A"], ["B", "B"]])
                    if browser.wait_until(lambda: (c := self.caches()) and kept[0] not in c, 5):
                        break
                self.assertEqual(visit(), ["B", "B"])
                self.assertEqual(len(self.caches()), 1)
            finally:
                server.close()

    def builds_at(self, server, path):
        """The builds of the index.html, page.js and plant.js that ran at path."""
        self.open(server.url + path)
        return self.engine.run("return [document.querySelector('meta[name=build]').content, "
                               "window.pageBuild, window.plantBuild];")

    def test_two_copies_on_one_site_each_open_offline(self):
        with tempfile.TemporaryDirectory() as folder:
            server = browser.Server(folder)
            write_build(args.page, os.path.join(folder, "a"), "A")
            write_build(args.page, os.path.join(folder, "b"), "B")
            try:
                for path, name, kept in [("a/index.html", "A", 1), ("b/index.html", "B", 2), ("a/index.html", "A", 2)]:
                    self.assertEqual(self.builds_at(server, path), [name] * 3)
                    self.assertTrue(self.kept_build(kept), "%s: %r" % (path, self.caches()))
            finally:
                server.close()
            for path, name in [("a/index.html", "A"), ("b/index.html", "B")]:
                self.assertEqual(self.builds_at(server, path), [name] * 3, "offline")

    def test_a_deploy_read_half_written_is_taken_whole_later(self):
        with tempfile.TemporaryDirectory() as folder:
            server = browser.Server(folder)
            try:
                write_build(args.page, folder, "A")
                self.assertEqual(self.builds_at(server, "index.html"), ["A"] * 3)
                kept = self.kept_build()
                # B's plant.wasm is read half-written, and completed within the same second.
                write_build(args.page, folder, "B")
                wasm = os.path.join(folder, "plant.wasm")
                with open(wasm, "rb") as f:
                    whole = f.read()
                stamp = int(time.time())
                with open(wasm, "wb") as f:
                    f.write(whole[:len(whole) // 2])
                os.utime(wasm, (stamp, stamp))
                self.assertEqual(self.builds_at(server, "index.html"), ["A"] * 3)
                time.sleep(3)
                self.assertEqual(self.caches(), kept, "a build that failed its check was kept")
                with open(wasm, "wb") as f:
                    f.write(whole)
                os.utime(wasm, (stamp, stamp))
                # Each visit asks for B; once it is kept, the next lets it take over.
                for _ in range(6):
                    if self.builds_at(server, "index.html") == ["B"] * 3:
                        break
                    browser.wait_until(lambda: len(self.caches()) == 2, 15)
                else:
                    self.fail("the whole build never came")
            finally:
                server.close()

    def test_a_page_whose_worker_is_gone_says_so_and_lets_it_go(self):
        with tempfile.TemporaryDirectory() as folder:
            server = browser.Server(folder)
            try:
                write_build(args.page, folder, "A")
                self.builds_at(server, "index.html")
                self.kept_build()
                os.remove(os.path.join(folder, "sw.js"))
                self.assertEqual(self.builds_at(server, "index.html"), ["A"] * 3)
                self.assertTrue(browser.wait_until(lambda: "no longer has the page" in self.engine.run(
                    "return document.getElementById('status').textContent;")))
                self.assertTrue(browser.wait_until(lambda: self.caches() == []), "the page's copy was kept")
                self.assertIsNone(self.engine.driver.execute_async_script(
                    "var done = arguments[0]; navigator.serviceWorker.getRegistration().then("
                    "function (r) { done(r ? r.scope : null); });"))
            finally:
                server.close()

    def test_a_page_loading_as_another_lets_a_build_take_over_runs_one_build(self):
        with tempfile.TemporaryDirectory() as folder:
            server = browser.Server(folder)
            first = self.engine.driver.current_window_handle
            try:
                write_build(args.page, folder, "A")
                self.builds_at(server, "index.html")
                self.kept_build()
                self.engine.driver.switch_to.new_window("tab")
                second = self.engine.driver.current_window_handle
                self.engine.open(server.url + "index.html")
                # The second tab runs slowly, as a phone's, to widen the window.
                self.engine.driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 4})
                for n, name in enumerate("BCDEFGHIJKLMNOPQ"):
                    write_build(args.page, folder, name)
                    # The first tab's visit installs the build and lets it take over once it is in;
                    # the second starts loading a little later each time.
                    self.engine.driver.switch_to.window(first)
                    self.engine.run("location.reload(); return 0;")
                    time.sleep(0.45 + 0.02 * n)
                    self.engine.driver.switch_to.window(second)
                    self.engine.run("location.reload(); return 0;")
                    for tab in (second, first):
                        self.engine.driver.switch_to.window(tab)
                        ran = browser.wait_until(lambda: self.engine.run(
                            "return window.printedLines > 0 && [document.querySelector('meta[name=build]').content,"
                            " window.pageBuild, window.plantBuild];"), 30)
                        self.assertTrue(ran, "a tab did not start")
                        self.assertEqual(len(set(ran)), 1, "round %d: a mix of builds: %r" % (n, ran))
            finally:
                if self.engine.driver.current_window_handle != first:
                    self.engine.driver.close()
                self.engine.driver.switch_to.window(first)
                server.close()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--session", required=True)
    args = web_test.args = parser.parse_args()
    result = unittest.TextTestRunner(verbosity=2).run(unittest.defaultTestLoader.loadTestsFromTestCase(Installed))
    sys.exit(0 if result.wasSuccessful() else 1)
