#!/usr/bin/env python3
"""Start-up benchmark under Wine: time from process start to the window painted, for the launcher
and for a bare Win32 window program of the same size, alternating, in one virtual display.

Painted means: the wordmark's blue shows at the wordmark's place (the bare program paints that blue
there). Prints the medians and their ratio; the ratio should stay at most 1.25.
usage: bench.py [rounds]
"""
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402

BLUE = (0x1d, 0x5f, 0xa8)


def painted(shot, left, top):
    region = shot.region(left + 150, top + 385, 150, 30)
    return sum(1 for p in region if all(abs(a - b) < 40 for a, b in zip(p, BLUE))) > 200


def run_once(session, exe, cwd):
    t0 = time.monotonic()
    p = subprocess.Popen([harness.WINE, str(exe)], cwd=str(cwd), env=session.env, stdin=subprocess.DEVNULL,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # Both windows have the same outer size and are centred alike (the bare one at the launcher's place).
    left, top = 204, 168
    while not painted(session.screenshot(), left, top):
        if time.monotonic() - t0 > 30:
            p.kill()
            raise SystemExit(f"{exe.name} did not paint within 30 s")
    elapsed = time.monotonic() - t0
    p.kill()
    p.wait()
    while session.screenshot().pixel(left + 200, top + 400) != (0, 0, 0):  # wait until it is gone
        time.sleep(0.05)
    return elapsed


def main(rounds):
    out = harness.ROOT / "build" / "bench"
    with harness.Session(work=out / "session") as session:
        disc = session.make_disc(session.prefix / "drive_c" / "disc")
        bare = session.prefix / "drive_c" / "tools" / "bare.exe"
        times = {"launcher": [], "bare": []}
        run_once(session, disc / "Launch.exe", disc)  # warm-up: Wine loads its DLLs once
        run_once(session, bare, disc)
        for _ in range(rounds):
            times["launcher"].append(run_once(session, disc / "Launch.exe", disc))
            times["bare"].append(run_once(session, bare, disc))
    launcher, baseline = statistics.median(times["launcher"]), statistics.median(times["bare"])
    print(f"start-up to painted, median of {rounds}: launcher {launcher * 1000:.0f} ms, "
          f"bare window {baseline * 1000:.0f} ms, ratio {launcher / baseline:.2f} (limit 1.25)")
    return 0


if __name__ == "__main__":
    sys.exit(main(int(sys.argv[1]) if len(sys.argv) > 1 else 7))
