#!/usr/bin/python3
"""The studio page in headless Chromium against the real player.

    studio_page_test.py PLAYER DEMO.xml                 run the tests on a copy of DEMO.xml
    studio_page_test.py PLAYER DEMO.xml --screenshot OUT.png   picture of the studio, 1280x800

Exits 77 (skipped) when selenium, Chromium or chromedriver is missing. Runs under the X server the test
command starts (xvfb-run -noreset): the player opens its window there; Chromium runs headless.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.error
import urllib.request

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
CHROMIUM_FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--window-size=1280,800"]
DEADLINE_S = 30

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
except ImportError as error:
    print(f"skipped: selenium cannot be imported ({error}); install python3-selenium", file=sys.stderr)
    sys.exit(77)
for program in (CHROMIUM, CHROMEDRIVER):
    if not os.access(program, os.X_OK):
        print(f"skipped: {program} not found; install chromium and chromium-driver", file=sys.stderr)
        sys.exit(77)


def wait_for(what, probe, seconds=DEADLINE_S):
    """Polls probe() until it returns something true, and returns that; fails after `seconds`."""
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


class Player:
    """`player --studio 0` on a document in its own folder, and its JSON API."""

    def __init__(self, program, document, folder, log=None):
        self.stderr_path = log or os.path.join(folder, "stderr.txt")
        environment = dict(os.environ, SDL_AUDIODRIVER="dummy")
        with open(self.stderr_path, "wb") as stderr:
            self.process = subprocess.Popen([os.path.abspath(program), "--studio", "0", "--size", "640x480", document],
                                            cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                            stderr=stderr, env=environment)
        try:
            self.url = wait_for("the player to print the studio's address", self.printed_address)
        except BaseException:
            self.stop()
            raise
        self.base, self.token = re.match(r"(http://[^/]+)/\?token=([0-9a-f]{32})$", self.url).groups()

    def printed_address(self):
        with open(self.stderr_path, encoding="utf-8", errors="replace") as stderr:
            found = re.search(r"Studio: (http://127\.0\.0\.1:\d+/\?token=[0-9a-f]{32})", stderr.read())
        if not found and self.process.poll() is not None:
            raise AssertionError(f"the player ended ({self.process.returncode}) before printing the address:\n"
                                 + open(self.stderr_path, encoding="utf-8", errors="replace").read())
        return found.group(1) if found else None

    def call(self, path, body=None):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(self.base + path, data=data, method="POST" if data else "GET",
                                         headers={"X-Vortel-Token": self.token, "Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=10) as answer:
            return json.load(answer)

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def start_browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in CHROMIUM_FLAGS + [f"--user-data-dir={profile}"]:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


def open_studio(driver, player):
    driver.get(player.url)
    wait_for("the page to read the document and the state",
             lambda: driver.execute_script("return !!(window.studio && window.studio.ready && window.studio.doc"
                                           " && window.studio.state)"))


class StudioPageTest(unittest.TestCase):
    program = None
    fixture = None

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="studio_page_")
        cls.document = os.path.join(cls.folder, "demo.xml")
        shutil.copyfile(cls.fixture, cls.document)
        cls.player = Player(cls.program, cls.document, cls.folder)
        try:
            cls.driver = start_browser(os.path.join(cls.folder, "profile"))
        except BaseException:
            cls.player.stop()
            raise
        try:
            open_studio(cls.driver, cls.player)
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.player.stop()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def assert_no_console_errors(self):
        severe = [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]
        self.assertEqual(severe, [])

    def pointer(self):
        chain = ActionChains(self.driver)
        return chain, chain.w3c_actions.pointer_action

    def drag(self, start, end, steps=5):
        chain, mouse = self.pointer()
        mouse.move_to_location(round(start[0]), round(start[1])).pointer_down()
        for step in range(1, steps + 1):
            mouse.move_to_location(round(start[0] + (end[0] - start[0]) * step / steps),
                                   round(start[1] + (end[1] - start[1]) * step / steps))
        mouse.pointer_up()
        chain.perform()

    def click_event(self, track, event):
        box = self.js("return window.studio.eventRect(arguments[0], arguments[1])", track, event)
        chain, mouse = self.pointer()
        mouse.move_to_location(round((box["left"] + box["right"]) / 2), round((box["top"] + box["bottom"]) / 2)).click()
        chain.perform()

    def read_document(self):
        with open(self.document, "rb") as file:
            return file.read()

    def wait_for_edit(self, generation):
        """Waits until the player and then the page play a document newer than `generation`; fails at
        once when the page shows an error."""
        def edited():
            self.assertNotEqual(self.js("return document.getElementById('message').className"), "error",
                                self.js("return document.getElementById('message').textContent"))
            answer = self.player.call("/api/document")
            return answer["generation"] > generation and answer

        document = wait_for("the player to play the edited document", edited)
        wait_for("the page to read it",
                 lambda: self.js("return window.studio.doc.generation") == document["generation"])
        return document

    def test_1_page_shows_the_tracks_and_events(self):
        self.assert_no_console_errors()
        shown = self.js("return window.studio.doc.tracks.map(t => t.events.map(e => e.function))")
        self.assertEqual(shown, [["Fade", "Fade"], ["Clear3D"], ["SetCamera3D"], ["Color4BG"]])
        # Every event box is painted on the canvas: its middle is not the empty row's colour.
        colours = self.js("""
            const canvas = document.getElementById('timeline-canvas');
            const ctx = canvas.getContext('2d');
            const ratio = canvas.width / canvas.clientWidth;
            const r = canvas.getBoundingClientRect();
            const at = (x, y) => Array.from(ctx.getImageData(Math.round((x - r.left) * ratio),
                                                             Math.round((y - r.top) * ratio), 1, 1).data);
            const out = [];
            window.studio.doc.tracks.forEach((track, t) => track.events.forEach((e, i) => {
                const box = window.studio.eventRect(t, i);
                const y = (box.top + box.bottom) / 2;
                out.push([at((box.left + box.right) / 2, y), at(box.right + 40, y)]);
            }));
            return out;""")
        for inside, _ in colours:
            self.assertNotIn(inside[:3], [outside[:3] for _, outside in colours])

    def test_2_click_on_the_ruler_seeks_the_player(self):
        paused_at = self.player.call("/api/pause", {})["time"]
        point = self.js("return window.studio.rulerPoint(2500)")
        ms_per_pixel = self.js("return 1 / window.studio.timeline.pxPerMs")
        chain, mouse = self.pointer()
        mouse.move_to_location(round(point["x"]), round(point["y"])).click()
        chain.perform()
        state = wait_for("the player's time to move to the click",
                         lambda: (s := self.player.call("/api/state"))["time"] != paused_at and s)
        self.assertAlmostEqual(state["time"], 2500, delta=2 * ms_per_pixel)
        self.assertTrue(state["paused"])
        # The live link brings the new time back to the page.
        shown = f"0:{state['time'] // 1000:02}.{state['time'] % 1000:03}"
        wait_for(f"the page's clock to show {shown}",
                 lambda: self.js("return document.getElementById('clock').textContent") == shown)

    def test_3_dragging_an_event_end_rewrites_only_that_attribute(self):
        before = self.read_document()
        generation = self.player.call("/api/state")["generation"]
        box = self.js("return window.studio.eventRect(0, 0)")
        px_per_ms = self.js("return window.studio.timeline.pxPerMs")
        y = (box["top"] + box["bottom"]) / 2
        self.drag((box["right"] - 2, y), (box["right"] - 2 + 500 * px_per_ms, y))

        document = self.wait_for_edit(generation)
        end = document["tracks"][0]["events"][0]["end"]
        self.assertAlmostEqual(end, 1500, delta=20)
        self.assertEqual(end % 10, 0)
        self.assertEqual(self.read_document(), before.replace(b'EndTime="1000"', f'EndTime="{end}"'.encode()))
        with open(self.document + "~", "rb") as file:
            self.assertEqual(file.read(), before)
        self.assertEqual(self.js("return window.studio.doc.tracks[0].events[0].end"), end)
        self.assert_no_console_errors()

    def test_4_dragging_a_key_in_the_curve_view_rewrites_that_parameter(self):
        before = self.read_document().splitlines()
        generation = self.player.call("/api/state")["generation"]
        self.click_event(0, 0)
        key = wait_for("the fade's alpha curve with its keys",
                       lambda: self.js("return window.studio.focusedParam === 3 && !!window.studio.curves.curve"
                                       " && window.studio.keyPoint(1)"))
        self.drag((key["x"], key["y"]), (key["x"] - 60, key["y"] - 40))

        document = self.wait_for_edit(generation)
        keys = document["tracks"][0]["events"][0]["params"][3]["keys"]
        self.assertEqual(keys[0], {"time": 0, "value": 255})
        self.assertEqual(len(keys), 2)
        self.assertLess(keys[1]["time"], 1000)
        self.assertGreater(keys[1]["value"], 0)
        self.assertEqual(keys[1]["time"] % 10, 0)
        # Only the line of that parameter changed.
        after = self.read_document().splitlines()
        self.assertEqual(len(after), len(before))
        changed = [old for old, new in zip(before, after) if old != new]
        self.assertEqual(len(changed), 1)
        self.assertIn(b'interpol="bez"', changed[0])

    def test_5_a_value_typed_in_scene_units_is_written_as_the_documents_integer_and_undone(self):
        before = self.read_document()
        generation = self.player.call("/api/state")["generation"]
        self.click_event(2, 0)
        field = wait_for("the camera's parameters",
                         lambda: self.driver.find_elements("css selector", "#panel tr[data-param='1'] input"))[0]
        self.assertEqual(field.get_attribute("value"), "2")
        field.clear()
        field.send_keys("2.5", Keys.ENTER)
        generation = self.wait_for_edit(generation)["generation"]
        self.assertEqual(self.read_document(), before.replace(b'val="2000"', b'val="2500"'))

        ActionChains(self.driver).key_down(Keys.CONTROL).send_keys("z").key_up(Keys.CONTROL).perform()
        self.wait_for_edit(generation)
        self.assertEqual(self.read_document(), before)
        self.assert_no_console_errors()


def screenshot(program, document, output):
    """The studio on a document as the README shows it: an event selected, its curve drawn."""
    # The player runs in the current folder, so that the page shows the document's path as given.
    folder = tempfile.mkdtemp(prefix="studio_shot_")
    player = Player(program, document, os.getcwd(), log=os.path.join(folder, "stderr.txt"))
    driver = start_browser(os.path.join(folder, "profile"))
    try:
        # The window's frame is not part of the picture: the page itself gets 1280x800.
        frame = driver.execute_script("return [outerWidth - innerWidth, outerHeight - innerHeight]")
        driver.set_window_size(1280 + frame[0], 800 + frame[1])
        open_studio(driver, player)
        driver.execute_script("window.studio.select({track: 2, event: 0}); window.studio.focusParam(3);")
        wait_for("the curve", lambda: driver.execute_script("return !!window.studio.curves.curve"))
        player.call("/api/pause", {})
        player.call("/api/seek", {"time": 4500})
        wait_for("the playhead", lambda: driver.execute_script("return window.studio.state.time") == 4500)
        driver.save_screenshot(output)
    finally:
        driver.quit()
        player.stop()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("player")
    parser.add_argument("document")
    parser.add_argument("--screenshot", metavar="OUT.png")
    arguments = parser.parse_args()
    if arguments.screenshot:
        screenshot(arguments.player, arguments.document, arguments.screenshot)
        return 0
    StudioPageTest.program = arguments.player
    StudioPageTest.fixture = arguments.document
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(StudioPageTest)
    return 0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
