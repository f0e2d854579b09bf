"""The member's page figures of docs/performance.md: file sizes, the time to
the first picture in headless Chromium, and how closely a run at Medium
keeps its ideal time.

Run: /usr/bin/python3 bench/page_bench.py --cli build/default/cli/velistrad-cli"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "page"))
from browser import Browser  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="velistrad-page-bench-")
    reforming = os.path.join(work, "reforming.html")
    book = os.path.join(work, "book.html")
    formation = os.path.join(work, "formation.html")
    subprocess.run([args.cli, "render", "--html", reforming, "--catalogue", "22"], check=True)
    subprocess.run([args.cli, "render", "--html", book, "--all"], check=True)
    subprocess.run([args.cli, "render", "--html", formation, "--catalogue", "16"], check=True)
    print("page_size_reforming_kb\t%.1f" % (os.path.getsize(reforming) / 1024))
    print("page_size_book_kb\t%.1f" % (os.path.getsize(book) / 1024))

    with Browser() as b:
        for name, path in (("reforming", reforming), ("book", book)):
            times = []
            for _ in range(args.runs):
                b.open(path)
                times.append(b.eval(
                    "performance.getEntriesByName('velistrad-plan-drawn')[0].startTime"))
            print("first_picture_%s_ms\t%.0f" % (name, statistics.median(times)))
        b.open(formation)
        b.eval("velistradPage.play()")
        ideal = b.eval("velistradPage.idealSeconds()")
        b.eval("new Promise(r => { const t = setInterval(() => { if (!velistradPage.playing) "
               "{ clearInterval(t); r(); } }, 50); })")
        took = b.eval("velistradPage.lastRunSeconds")
        print("medium_run_formation_s\t%.3f\t%.3f\t%+.2f%%" % (took, ideal, 100 * (took / ideal - 1)))


if __name__ == "__main__":
    main()
