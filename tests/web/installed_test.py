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
    """The built page in folder as build name: its index.html and plant.js
    say the name, and its service worker knows them; with cut, plant.js is
    its first half, as an interrupted copy leaves it."""
    for file in PAGE_FILES:
        shutil.copy(os.path.join(page, file), folder)
    with open(os.path.join(folder, "index.html"), "a") as f:
        f.write('<meta name="build" content="%s">\n' % name)
    with open(os.path.join(folder, "plant.js"), "a") as f:
        f.write("\nwindow.plantBuild = '%s';\n" % name)
    subprocess.run(["cmake", "-DDIR=" + folder, "-DFILES=" + ";".join(PAGE_FILES),
                    "-DTEMPLATE=" + os.path.join(SOURCE, "sw.js"), "-P", os.path.join(SOURCE, "service_worker.cmake")],
                   check=True)
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


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--session", required=True)
    args = web_test.args = parser.parse_args()
    result = unittest.TextTestRunner(verbosity=2).run(unittest.defaultTestLoader.loadTestsFromTestCase(Installed))
    sys.exit(0 if result.wasSuccessful() else 1)
