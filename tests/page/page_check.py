"""Checks of the member's page in a real browser (headless Chromium): it plays
exactly the frames velistrad-cli plays, asks the network for nothing, shows
script text as text, fits phones and desktops, and answers the keyboard.

Run: page_check.py --cli PATH/velistrad-cli [--shots FOLDER]"""

import argparse
import os
import subprocess
import sys
import tempfile
import unittest

from browser import Browser

CLI = None
SHOTS = None
WORK = tempfile.mkdtemp(prefix="velistrad-page-check-")

# Scripts a member may have saved: a diagonal walk that leaves fractions, a
# delay with Unsync walks laid over it, placements, and Delay in any case.
CUSTOM = (
    "----------Diagonals\r\nSC, XZE-N-Ch-, Now, JD, -AT-O-, Now, 1P, XZR, Unsync,\r\n"
    "All, Delay, 0.25, 2P, XZI, Unsync, Mar, XZTCEVU, After\r\n"
    "----------Placements\r\nAll, -AT-J-, Now, all, delay, 1, Mar, XZ, Simult, SD, XZB, Now\r\n")


def cli(*args, stdin=None):
    done = subprocess.run([CLI, *args], input=stdin, capture_output=True)
    return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode()


def page(name, *source, stdin=None):
    path = os.path.join(WORK, name)
    status, _, err = cli("render", "--html", path, *source, stdin=stdin)
    assert status == 0, err
    return path


class Playing(unittest.TestCase):
    """positionsAt agrees with `final --frame` for every movement of the book."""

    def test_every_movement_at_telling_frames(self):
        custom = os.path.join(WORK, "custom.sim")
        with open(custom, "w", newline="") as f:
            f.write(CUSTOM)
        book = page("book.html", "--all", "--custom-file", custom)
        with Browser() as b:
            b.open(book)
            names = b.eval("velistradPage.movements.map(String)")
            self.assertEqual(len(names), 25)
            self.assertEqual(names[-2:], ["Diagonals", "Placements"])
            scripts = [("--catalogue", str(n)) for n in range(1, 24)]
            for i, name in enumerate(names):
                if i < 23:
                    source, stdin = scripts[i], None
                else:
                    source = ("-",)
                    stdin = CUSTOM.split("----------" + name + "\r\n")[1].split("----------")[0]
                    stdin = stdin.replace("\r\n", "").encode()
                _, compiled, _ = cli("compile", "--entries", *source, stdin=stdin)
                lines = compiled.split("\n")[:-1]
                b.eval("velistradPage.select(%d)" % i)
                count = b.eval("velistradPage.frameCount")
                self.assertEqual(count, len(lines), name)
                frames = {0, 1, count - 1, count, count + 7, count // 2}
                previous = None
                for n, line in enumerate(lines):
                    frame, entries = line.split("\t")
                    if "," not in frame:  # delays and empty frames
                        frames.update({n, n + 1})
                    if entries != previous:  # entry starts
                        frames.add(n)
                        previous = entries
                for n in sorted(f for f in frames if f >= 0)[:60]:
                    _, final, _ = cli("final", "--frame", str(n), *source, stdin=stdin)
                    want = [[w[1], float(w[2]), float(w[3]), int(w[4])]
                            for w in (l.split(" ") for l in final.split("\n")[:-1])]
                    got = b.eval("velistradPage.positionsAt(%d)" % n)
                    self.assertEqual(got, want, "%s, frame %d" % (name, n))
            self.assertEqual(b.exceptions(), [])

    def test_entry_steps_stop_at_every_entry_a_delay_too(self):
        script = "Mar, XZTCEVU, Now, All, Delay, 1.0, Mar, UZX, Now"
        path = page("delay.html", "-", stdin=script.encode())
        entry = "document.getElementById('entry').textContent"
        with Browser() as b:
            b.open(path)
            b.eval("velistradPage.select(0)")
            seen = []
            for _ in range(3):
                b.key("ArrowRight", "ArrowRight", shift=True)
                seen.append(b.eval(entry))
            self.assertEqual(seen, ["entry 1: Mar, XZTCEVU, Now", "entry 2: All, Delay, 1.0",
                                    "entry 3: Mar, UZX, Now"])
            b.key("ArrowLeft", "ArrowLeft", shift=True)
            self.assertEqual(b.eval(entry), "entry 2: All, Delay, 1.0")
            # At Lightning a frame takes a picture's time, not nothing.
            b.eval("document.querySelector('#speeds [data-speed=\"5\"]').click()")
            total = b.eval("document.getElementById('readout').textContent")
            count = b.eval("velistradPage.frameCount")
            seconds = float(total.split(" / ")[2].split(" s")[0])
            self.assertGreater(seconds, 1.0 + (count - 1) / 240, total)
            self.assertEqual(b.exceptions(), [])

    def test_a_script_that_does_not_play_writes_nothing(self):
        path = os.path.join(WORK, "bad.html")
        status, _, err = cli("render", "--html", path, "-", stdin=b"XX, XZ, Now")
        self.assertEqual(status, 1)
        self.assertIn("Unknown officer: XX", err)
        self.assertFalse(os.path.exists(path))


class Safe(unittest.TestCase):
    def test_no_request_leaves_the_page(self):
        path = page("offline.html", "--catalogue", "16")
        with Browser() as b:
            b.refuse_network()
            b.open(path)
            self.assertGreater(b.eval("velistradPage.frameCount"), 0)
            b.eval("velistradPage.play(); new Promise(r => setTimeout(r, 300))")
            self.assertEqual([u for u in b.requests if not u.startswith("file://")], [])
            self.assertEqual(b.exceptions(), [])
            policy = b.eval("document.querySelector('meta[http-equiv]').content")
            self.assertIn("default-src 'none'", policy)

    def test_script_text_is_shown_never_run(self):
        bad = "</script><svg/onload=window.pwned=1><img src=x onerror=window.pwned=2>"
        script = "Mar, XZTCEVU, " + bad
        path = page("injection.html", "-", stdin=script.encode())
        with Browser() as b:
            b.open(path)
            self.assertIsNone(b.eval("window.pwned"))
            self.assertEqual(b.eval("document.getElementById('script').textContent"), script)
            b.eval("velistradPage.select(0)")
            b.key("End", "End")
            self.assertEqual(b.eval("document.getElementById('entry').textContent"),
                             "entry 1: " + script)
            self.assertEqual(b.eval("document.querySelectorAll('svg svg, img').length"), 0)
            self.assertEqual(b.exceptions(), [])


class Using(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = page("deacons.html", "--catalogue", "2")

    def test_fits_phones_and_desktops(self):
        with Browser() as b:
            for width, height, mobile in ((390, 844, True), (844, 390, True), (1280, 800, False)):
                b.viewport(width, height, mobile)
                b.open(self.path)
                b.eval("velistradPage.select(0)")
                b.eval("document.getElementById('officer').value = '21';"
                       "document.getElementById('officer').dispatchEvent(new Event('change'))")
                b.eval("document.querySelectorAll('#part button')[1].click()")
                b.key("ArrowRight", "ArrowRight", shift=True)
                report = b.eval("""(() => {
                    const out = [];
                    const W = innerWidth, H = innerHeight;
                    if (document.documentElement.scrollWidth > W) out.push('scrolls sideways');
                    for (const id of ['play', 'timeline', 'officer']) {
                        const r = document.getElementById(id).getBoundingClientRect();
                        if (r.left < 0 || r.top < 0 || r.right > W || r.bottom > H) out.push(id + ' outside');
                    }
                    for (const e of document.querySelectorAll('button, select, input, summary')) {
                        const r = e.getBoundingClientRect();
                        if (r.width === 0) continue;
                        if (r.width < 44 || r.height < 44) out.push((e.id || e.textContent) + ' small');
                        if (r.right > W || r.left < 0) out.push((e.id || e.textContent) + ' off the side');
                    }
                    for (const e of document.querySelectorAll('body *:not(svg):not(svg *)')) {
                        if (e.childNodes.length && [...e.childNodes].some(n => n.nodeType === 3 && n.textContent.trim())
                            && parseFloat(getComputedStyle(e).fontSize) < 12) out.push(e.tagName + ' text small');
                    }
                    return out;
                })()""")
                self.assertEqual(report, [], "%dx%d" % (width, height))
                if SHOTS:
                    b.screenshot(os.path.join(SHOTS, "member-page-%dx%d.png" % (width, height)))

    def test_keys_follow_and_touch(self):
        with Browser() as b:
            b.viewport(390, 844, True)
            b.open(self.path)
            shown = lambda: b.eval("velistradPage.shown")
            b.key("ArrowRight", "ArrowRight")
            self.assertEqual(shown(), 1)
            b.key("ArrowRight", "ArrowRight", shift=True)
            self.assertGreater(shown(), 1)
            b.key("End", "End")
            count = b.eval("velistradPage.frameCount")
            self.assertEqual(shown(), count)
            b.key("ArrowLeft", "ArrowLeft", shift=True)
            last_entry = shown()
            self.assertLess(last_entry, count)
            b.key("ArrowLeft", "ArrowLeft", shift=True)
            self.assertLess(shown(), last_entry)
            b.key("ArrowRight", "ArrowRight", shift=True)
            self.assertEqual(shown(), last_entry)
            b.key("Home", "Home")
            self.assertEqual(shown(), 0)
            # Playing by Space, then following the officer whose marker is tapped.
            b.key(" ", "Space")
            self.assertTrue(b.eval("velistradPage.playing"))
            b.key(" ", "Space")
            b.eval("const t = document.getElementById('timeline'); t.value = Math.floor(t.max / 2);"
                   "t.dispatchEvent(new Event('input'))")
            # The marker is tapped where a finger lands: inside 44 CSS pixels.
            hit = b.eval("(() => { const r = document.querySelector('circle.hit').getBoundingClientRect();"
                         " return [r.left + r.width / 2, r.top + r.height / 2 + 18, r.width]; })()")
            self.assertGreaterEqual(hit[2], 44)
            for kind in ("mousePressed", "mouseReleased"):
                b.send("Input.dispatchMouseEvent", type=kind, x=hit[0], y=hit[1], button="left",
                       clickCount=1)
            followed = b.eval("Number(document.getElementById('officer').value)")
            self.assertGreaterEqual(followed, 0)
            titles = b.eval("[...document.querySelectorAll('#officer option')].map(o => o.textContent)")
            self.assertEqual(titles[1], "Marshal (Mar)")
            self.assertEqual(titles[22], "Senior Deacon (SD)")
            self.assertEqual(titles[3], "1P")
            steps = b.eval("[...document.querySelectorAll('#part button')].map(b => Number(b.dataset.first))")
            self.assertGreater(len(steps), 0)
            b.eval("document.querySelector('#part button').click()")
            self.assertEqual(shown(), steps[0] + 1)
            # A finger drags the timeline.
            box = b.eval("(() => { const r = document.getElementById('timeline')"
                         ".getBoundingClientRect(); return [r.left, r.right, r.top + r.height / 2]; })()")
            b.touch_drag(box[0] + 4, box[2], (box[0] + box[1]) / 2)
            self.assertGreater(shown(), count // 4)
            self.assertEqual(b.exceptions(), [])

    def test_nothing_plays_by_itself(self):
        with Browser() as b:
            b.reduced_motion(True)
            b.open(self.path)
            b.eval("new Promise(r => setTimeout(r, 400))")
            self.assertEqual(b.eval("velistradPage.shown"), 0)
            self.assertFalse(b.eval("velistradPage.playing"))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--shots")
    args, rest = parser.parse_known_args()
    CLI = os.path.abspath(args.cli)
    SHOTS = args.shots
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)
