#!/usr/bin/env python3
"""Runs the launcher from a demo disc under Wine and saves a screenshot of its window.

With a display (DISPLAY set) the launcher stays up until it is closed; without one it runs in a
virtual display, and the screenshot is all there is to see. The disc is build/demo/disc: the
launcher's 64-bit twin (this machine's Wine cannot run 32-bit programs), stand-in installers that
record how they were started in C:\\record.log, a real PDF and a real compiled help file.
"""
import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402


def main():
    out = harness.ROOT / "build" / "demo"
    shown = bool(os.environ.get("DISPLAY"))
    if shown:
        os.environ["VANTREL_DISPLAY"] = os.environ["DISPLAY"]
    with harness.Session(work=out, recorders=not shown) as session:
        disc = session.make_disc(session.prefix / "drive_c" / "disc", real_documents=True)
        session.start(disc / "Launch.exe", disc)
        shot = out / "screenshot.png"
        left, top, width, height = (int(v) for v in session.info["main.window"].split(","))
        full = session.screenshot()
        harness.Image(width, height, bytes(
            b for y in range(top, top + height)
            for b in full.rgb[(y * full.width + left) * 3:(y * full.width + left + width) * 3])).save_png(shot)
        print(f"demo: the launcher runs from {disc}; screenshot saved to {shot}")
        if shown:
            print("demo: close the launcher to end")
            session.launcher.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
